// Open and close of the component on real pseudo-terminals: configuration as read back
// from the device, failures and their texts, settings while open, close timing, unplug.
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "CommFixture.h"
#include "ports/SerialTermios.h"

using Clock = std::chrono::steady_clock;

TEST_F(CommFixture, OpenConfiguresTheLineAndStartsBothThreads) {
    auto comm = MakeComm();
    int opened = 0;
    comm->OnOpen = [&](TVaCustomComm* sender) {
        EXPECT_EQ(sender, comm.get());
        ++opened;
    };
    comm->Open();
    EXPECT_TRUE(comm->Active());
    EXPECT_EQ(opened, 1);
    TLineReadback line;
    ASSERT_EQ(ReadLineConfiguration(Peer->Master(), line), 0);
    EXPECT_EQ(line.BaudRate, 19200u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, ONESTOPBIT);
    EXPECT_TRUE(line.Raw);
    EXPECT_FALSE(line.CtsRtsFlow || line.XonXoffIn || line.XonXoffOut);
    EXPECT_EQ(comm->EventMask(), 0x81u);
    EXPECT_TRUE(comm->HasEventThread());
    EXPECT_TRUE(comm->HasWriteThread());
    // Pseudo-terminals have no modem lines; they read inactive.
    EXPECT_FALSE(comm->CTS() || comm->DSR() || comm->RING() || comm->RLSD());
    comm->Close();
    EXPECT_FALSE(comm->Active());
    EXPECT_FALSE(comm->HasEventThread() || comm->HasWriteThread());
}

TEST_F(CommFixture, OpenFailuresTellWhatWentWrong) {
    auto comm = MakeComm();
    comm->SetPortNum(7);
    EXPECT_EQ(RaisedText([&] { comm->Open(); }), "Specified device not found (COM7).");
    EXPECT_FALSE(comm->Active());
    EXPECT_FALSE(comm->HasEventThread() || comm->HasWriteThread());

    auto holder = MakeComm();
    holder->Open();
    comm->SetPortNum(1);
    EXPECT_EQ(RaisedText([&] { comm->Open(); }),
              "Can't open specified device COM1 (Error 16, Device or resource busy)");
    EXPECT_FALSE(comm->Active());

    EXPECT_EQ(RaisedText([&] { holder->Open(); }),
              "Can't perform this operation while port is open");
    EXPECT_TRUE(holder->Active());
}

TEST_F(CommFixture, AFailedConfigurationReleasesTheDevice) {
    auto comm = MakeComm();
    comm->SetDatabits(db4); // the kernel has no 4-bit characters
    const std::string text = RaisedText([&] { comm->Open(); });
    EXPECT_EQ(text.rfind("Error writing dcb (22), ", 0), 0u) << text;
    EXPECT_FALSE(comm->Active());
    EXPECT_FALSE(comm->HasEventThread() || comm->HasWriteThread());
    comm->SetDatabits(db8);
    comm->Open(); // the device was released: it opens again
    EXPECT_TRUE(comm->Active());
}

TEST_F(CommFixture, SettingsRefusedWhileOpenKeepTheirValue) {
    auto comm = MakeComm();
    comm->Open();
    const std::string refused = "Can't perform this operation while port is open";
    EXPECT_EQ(RaisedText([&] { comm->SetPortNum(3); }), refused);
    EXPECT_EQ(comm->PortNum(), 1);
    EXPECT_EQ(RaisedText([&] { comm->SetDeviceName("/dev/ttyUSB%d"); }), refused);
    EXPECT_EQ(comm->DeviceName(), "COM%d");
    EXPECT_EQ(RaisedText([&] { comm->SetMonitorEvents({}); }), refused);
    EXPECT_EQ(RaisedText([&] { comm->SetDirectWrite(true); }), refused);
    EXPECT_FALSE(comm->DirectWrite());
    EXPECT_EQ(RaisedText([&] { comm->SetUpdateDCB(false); }), refused);
    TVaBuffers other;
    other.SetReadSize(16);
    EXPECT_EQ(RaisedText([&] { comm->SetBuffers(other); }), refused);
    EXPECT_EQ(comm->Buffers().ReadSize(), 4096);
}

TEST_F(CommFixture, ReadSizeSetWhileOpenRaisesYetAppliesAtTheNextOpen) {
    auto comm = MakeComm();
    comm->Open();
    EXPECT_EQ(RaisedText([&] { comm->Buffers().SetReadSize(16); }),
              "Can't perform this operation while port is open");
    EXPECT_EQ(comm->Buffers().ReadSize(), 16);
    comm->Close();
    comm->Open();
    Peer->Send(std::string(20, 'q'));
    EXPECT_TRUE(PumpUntil([&] { return comm->ReadBufUsed() == 16; }));
}

TEST_F(CommFixture, QueueSizesBeyondMemoryFailTheOpenWithTheBufferMessage) {
    auto comm = MakeComm();
    comm->Buffers().SetReadSize(2147483647);
    const std::string prefix = "Error initializing buffers (";
    EXPECT_EQ(RaisedText([&] { comm->Open(); }).rfind(prefix, 0), 0u);
    EXPECT_FALSE(comm->Active());
    comm->Buffers().SetReadSize(4096);
    comm->Buffers().SetWriteSize(2147483647);
    EXPECT_EQ(RaisedText([&] { comm->Open(); }).rfind(prefix, 0), 0u);
    EXPECT_FALSE(comm->Active() || comm->HasWriteThread());
}

TEST_F(CommFixture, LineSettingsChangedWhileOpenReachTheDevice) {
    auto comm = MakeComm();
    comm->Open();
    TLineReadback line;
    comm->SetBaudrate(br9600);
    ASSERT_EQ(ReadLineConfiguration(Peer->Master(), line), 0);
    EXPECT_EQ(line.BaudRate, 9600u);
    comm->EventChars().SetEofChar(0x1A);
    ASSERT_EQ(ReadLineConfiguration(Peer->Master(), line), 0);
    EXPECT_EQ(line.EofChar, 0x1A);
    EXPECT_EQ(comm->EventChars().EventChar(), 0);
    comm->FlowControl().SetXonXoffOut(true);
    ASSERT_EQ(ReadLineConfiguration(Peer->Master(), line), 0);
    EXPECT_TRUE(line.XonXoffOut);
    comm->Close();

    comm->SetUpdateDCB(false);
    comm->Open();
    comm->SetBaudrate(br57600); // only stored
    ASSERT_EQ(ReadLineConfiguration(Peer->Master(), line), 0);
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(comm->Baudrate(), br57600);
}

TEST_F(CommFixture, WithoutUpdateDcbTheLineIsStillRawAndEchoesNothing) {
    auto comm = MakeComm();
    comm->SetUpdateDCB(false);
    comm->Open();
    TLineReadback line;
    ASSERT_EQ(ReadLineConfiguration(Peer->Master(), line), 0);
    EXPECT_TRUE(line.Raw);
    Peer->Send("\x01\x03\r\n");
    EXPECT_EQ(Peer->ReceiveAll(200), "") << "a cooked line echoes what the controller sends";
    std::string got;
    PumpUntil([&] { return (got += comm->ReadText()).size() >= 4; });
    EXPECT_EQ(got, "\x01\x03\r\n") << "nothing translated or held back";
}

TEST_F(CommFixture, EventMaskWithoutMonitorEventsStartsNoEventThread) {
    auto comm = MakeComm();
    comm->SetMonitorEvents({});
    int notified = 0;
    comm->OnRxChar = [&](TVaCustomComm*, int) { ++notified; };
    comm->Open();
    EXPECT_FALSE(comm->HasEventThread());
    EXPECT_TRUE(comm->HasWriteThread());
    Peer->Send("abc");
    PumpFor(150);
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(comm->ReadBufUsed(), 3);

    comm->Close();
    comm->SetMonitorEvents({ceTxEmpty}); // left to the write thread: mask 0
    comm->Open();
    EXPECT_EQ(comm->EventMask(), 0u);
    EXPECT_FALSE(comm->HasEventThread());
}

TEST_F(CommFixture, ACloseThatRaisedWhileStoppingCanBeRepeated) {
    TWatchdog watchdog(10000, "the port could not be closed after a failed Close");
    auto comm = MakeComm();
    comm->SetSyncThreads(false); // notifications run on the event thread itself
    std::atomic<bool> handled{false};
    std::string raised;
    comm->OnRxChar = [&](TVaCustomComm* sender, int) {
        try {
            sender->Close(); // the event thread cannot wait for itself to end
        } catch (const std::exception& e) {
            raised = e.what();
        }
        handled = true;
    };
    comm->Open();
    Peer->Send("x");
    ASSERT_TRUE(WaitUntil([&] { return handled.load(); }));
    EXPECT_FALSE(raised.empty());
    EXPECT_TRUE(comm->Active());
    comm->Close();
    EXPECT_FALSE(comm->Active());
}

TEST_F(CommFixture, CloseRaisesOnCloseOnceAndPausesAfterReleasingTheDevice) {
    auto comm = MakeComm();
    int closed = 0;
    Clock::time_point closedAt;
    comm->OnClose = [&](TVaCustomComm*) {
        ++closed;
        closedAt = Clock::now();
        // The device has been released: another open of it succeeds.
        TVaComm other;
        other.SetPortNum(1);
        other.Open();
        EXPECT_TRUE(other.Active());
        other.Close();
    };
    comm->Open();
    comm->Close();
    const auto returned = Clock::now();
    EXPECT_EQ(closed, 1);
    EXPECT_GE(returned - closedAt, std::chrono::milliseconds(300));

    const auto start = Clock::now();
    comm->Close(); // closed already: no event and none of the 300 ms pause
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(closed, 1);
}

TEST_F(CommFixture, UnplugCausesNoStormNoSpinAndTheNextDeviceOpens) {
    auto comm = MakeComm();
    int notified = 0;
    comm->OnRxChar = [&](TVaCustomComm*, int) { ++notified; };
    comm->Open();
    Peer->Unplug();
    PumpFor(100);
    const uint64_t before = comm->EventThreadWakeups();
    PumpFor(1000);
    EXPECT_LE(comm->EventThreadWakeups() - before, 2u) << "the event thread keeps waking";
    EXPECT_EQ(notified, 0);
    // The user's tick goes on: queries, purges and writes neither hang nor raise.
    EXPECT_EQ(comm->ReadBufUsed(), 0);
    comm->PurgeRead();
    EXPECT_FALSE(comm->WriteChar(0xC0));
    EXPECT_TRUE(Shown.empty());

    const auto start = Clock::now();
    comm->Close();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_FALSE(comm->Active());

    // A device is back under the same name.
    Peer = std::make_unique<TPtyPeer>();
    Ports->Publish("COM1", Peer->SlavePath());
    comm->Open();
    Peer->Send("ok");
    EXPECT_TRUE(PumpUntil([&] { return notified == 1; }));
}

TEST_F(CommFixture, AGoneDeviceRefusesWritesAtOnceAndCloseReleasesIt) {
    auto comm = MakeComm();
    comm->Open();
    const int fd = comm->Handle();
    Peer->Unplug();
    // Nothing may have noticed the hang-up yet: the first write already finds out.
    const int size = comm->Buffers().WriteSize();
    const std::string block(static_cast<size_t>(size), 'w');
    int accepted = 0;
    const auto start = Clock::now();
    std::string raised = RaisedText([&] {
        for (int i = 0; i < size; ++i) {
            accepted += comm->WriteChar(0xC0) ? 1 : 0;
        }
    });
    raised += RaisedText([&] { accepted += comm->WriteBuf(block.data(), size); });
    raised += RaisedText([&] { accepted += comm->WriteText(block) ? 1 : 0; });
    const auto took = Clock::now() - start;
    EXPECT_EQ(raised, "");
    EXPECT_EQ(accepted, 0);
    // A full buffer would wait WriteTimeout (1 s) for room on every call.
    EXPECT_LT(took, std::chrono::milliseconds(250));
    EXPECT_EQ(comm->WriteBufUsed(), 0);
    EXPECT_TRUE(comm->DeviceGone());

    const auto closeStart = Clock::now();
    comm->Close();
    EXPECT_LT(Clock::now() - closeStart, std::chrono::milliseconds(1000));
    EXPECT_FALSE(comm->Active());
    EXPECT_EQ(fcntl(fd, F_GETFD), -1) << "the descriptor was released";
    EXPECT_TRUE(Shown.empty());
}

TEST_F(CommFixture, DeviceNameMayBeAPath) {
    auto comm = std::make_unique<TVaComm>();
    comm->SetDeviceName(Peer->SlavePath());
    comm->Open();
    EXPECT_TRUE(comm->Active());
    EXPECT_EQ(comm->GetDeviceName(), Peer->SlavePath());
}
