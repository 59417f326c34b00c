// Write path: order on the line, OnTxEmpty per drain, a full buffer, purge, close while
// a write is pending, direct writes.
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "CommFixture.h"

using Clock = std::chrono::steady_clock;

TEST_F(CommFixture, BytesLeaveInOrderAndTxEmptyComesOncePerDrain) {
    auto comm = MakeComm();
    int empties = 0;
    std::thread::id handlerThread;
    comm->OnTxEmpty = [&](TVaCustomComm* sender) {
        EXPECT_EQ(sender, comm.get());
        handlerThread = std::this_thread::get_id();
        ++empties;
    };
    comm->Open();
    for (uint8_t b : {0xC0, 0x04, 0x26, 0x15}) {
        EXPECT_TRUE(comm->WriteChar(b));
    }
    EXPECT_EQ(ReceivePumping(4), "\xC0\x04\x26\x15");
    ASSERT_TRUE(PumpUntil([&] { return empties >= 1 && comm->WriteBufUsed() == 0; }));
    PumpFor(100);
    const int afterFirst = empties;
    EXPECT_GE(afterFirst, 1);
    EXPECT_LE(afterFirst, 4); // one per time the buffer became empty
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
    PumpFor(200);
    EXPECT_EQ(empties, afterFirst) << "no notification without a drain";
    EXPECT_TRUE(comm->WriteText("next"));
    EXPECT_EQ(ReceivePumping(4), "next");
    ASSERT_TRUE(PumpUntil([&] { return empties > afterFirst; }));
}

TEST_F(CommFixture, WritesNobodyListensToTheDrainOfCostTheUiThreadNothing) {
    auto comm = MakeComm();
    comm->Open();
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(comm->WriteText("ask" + std::to_string(i)));
    }
    EXPECT_EQ(Peer->Receive(20), "ask0ask1ask2ask3ask4");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(PendingHandOvers(), 0u) << "a drain notice went to the UI thread with no listener";
}

TEST_F(CommFixture, BytesQueuedWhileTheDrainNoticeWaitsForTheUiGoOutInOrder) {
    auto comm = MakeComm();
    int empties = 0;
    comm->OnTxEmpty = [&](TVaCustomComm*) { ++empties; };
    comm->Open();
    // The first byte drains on its own; its notice then waits for the UI thread, which
    // queues the rest of the request before it gets round to running it.
    EXPECT_TRUE(comm->WriteChar(0xC0));
    EXPECT_EQ(Peer->Receive(1), "\xC0");
    for (uint8_t b : {0x04, 0x26, 0x15}) {
        EXPECT_TRUE(comm->WriteChar(b));
    }
    EXPECT_EQ(empties, 0) << "the notice runs on the UI thread only";
    EXPECT_EQ(ReceivePumping(3), "\x04\x26\x15");
    ASSERT_TRUE(PumpUntil([&] { return empties >= 1 && comm->WriteBufUsed() == 0; }));
    EXPECT_LE(empties, 2);
}

TEST_F(CommFixture, AStalledPeerMakesWriteBufRaiseAfterWriteTimeout) {
    auto comm = MakeComm();
    comm->Buffers().SetWriteTimeout(200);
    comm->Open();
    const std::string block(512, 'p');
    std::string text;
    int accepted = 0;
    for (int i = 0; i < 5000 && text.empty(); ++i) {
        text = RaisedText([&] { accepted += comm->WriteBuf(block.data(), 512); });
    }
    EXPECT_EQ(text, "Output buffer is full. Please check comm status.");
    const int pending = comm->WriteBufUsed();
    EXPECT_GT(pending, 2048 - 512) << "nothing of the refused call was queued";
    EXPECT_LE(pending, 2048);
    // The time-out is the caller's bound.
    const auto start = Clock::now();
    EXPECT_FALSE(RaisedText([&] { comm->WriteBuf(block.data(), 512); }).empty());
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(190));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    // Close while the thread's write is pending returns.
    const auto closeStart = Clock::now();
    comm->Close();
    EXPECT_LT(Clock::now() - closeStart, std::chrono::milliseconds(1500));
}

TEST_F(CommFixture, PurgeWriteDropsPendingBytesAndLaterWritesGoOut) {
    auto comm = MakeComm();
    comm->Buffers().SetWriteTimeout(100);
    comm->Open();
    const std::string block(512, 'f');
    for (int i = 0; i < 5000; ++i) {
        if (!RaisedText([&] { comm->WriteBuf(block.data(), 512); }).empty()) {
            break;
        }
    }
    ASSERT_GT(comm->WriteBufUsed(), 0);
    comm->PurgeWrite();
    EXPECT_EQ(comm->WriteBufUsed(), 0);
    comm->PurgeWrite(); // a second purge waits for its own acknowledgement
    EXPECT_EQ(comm->WriteBufUsed(), 0);
    Peer->ReceiveAll(300); // whatever the kernel had taken before the purge
    EXPECT_TRUE(comm->WriteText("after"));
    EXPECT_EQ(ReceivePumping(5), "after");
}

TEST_F(CommFixture, WriteBufAcceptsWhatFitsAtOnce) {
    auto comm = MakeComm();
    comm->Buffers().SetWriteSize(16);
    comm->Open();
    EXPECT_EQ(comm->WriteBuf("0123456789abcdef", 16), 16);
    EXPECT_EQ(ReceivePumping(16), "0123456789abcdef");
}

TEST_F(CommFixture, DirectWriteWritesFromTheCallersThread) {
    auto comm = MakeComm();
    comm->SetDirectWrite(true);
    int empties = 0;
    comm->OnTxEmpty = [&](TVaCustomComm*) { ++empties; };
    comm->Open();
    EXPECT_FALSE(comm->HasWriteThread());
    EXPECT_EQ(comm->EventMask(), 0x85u) << "the event thread watches the transmitter";
    EXPECT_EQ(comm->WriteBuf("direct", 6), 6);
    EXPECT_EQ(ReceivePumping(6), "direct");
    EXPECT_TRUE(PumpUntil([&] { return empties >= 1; }));
    comm->PurgeWrite();
}

TEST_F(CommFixture, AHandOverThatClosesThePortDuringAPurgeEndsThePurgeSafely) {
    auto comm = MakeComm();
    int closed = 0;
    comm->OnClose = [&](TVaCustomComm*) { ++closed; };
    comm->OnRxChar = [](TVaCustomComm* sender, int) { sender->Close(); };
    comm->Open();
    ASSERT_NO_FATAL_FAILURE(QueueBothHandOvers(*comm));
    // The purge serves hand-overs while it waits for the write thread; the first one closes
    // the port and releases the thread and the device under the purge's feet.
    TWatchdog watchdog(10000, "PurgeWrite with a closing hand-over");
    comm->PurgeWrite();
    EXPECT_FALSE(comm->Active());
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(Shown.empty());
}

TEST_F(CommFixture, ALargeTransferToASlowReaderArrivesCompleteAndInOrder) {
    auto comm = MakeComm();
    comm->Open();
    TPeerReader device(Peer->Master(), 512, 300);
    // Several times what the pseudo-terminal holds, so the line refuses or cuts short writes
    // again and again.
    std::string data(256 * 1024, '\0');
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    const int block = 1000;
    for (size_t at = 0; at < data.size(); at += block) {
        const int n = static_cast<int>(std::min<size_t>(block, data.size() - at));
        ASSERT_TRUE(PumpUntil([&] { return comm->WriteBufFree() >= n; }, 5000));
        ASSERT_EQ(comm->WriteBuf(data.data() + at, n), n);
    }
    // Waits while bytes keep arriving.
    for (size_t seen = 0; device.Size() < data.size();) {
        if (!PumpUntil([&] { return device.Size() != seen; }, 2000)) {
            break;
        }
        seen = device.Size();
    }
    ASSERT_EQ(device.Size(), data.size());
    PumpFor(50);
    EXPECT_TRUE(device.Received() == data) << "bytes lost, repeated or out of order";
}

TEST_F(CommFixture, PurgedBytesNeverGoOutAndLaterBytesAllDo) {
    auto comm = MakeComm();
    comm->OnTxEmpty = [](TVaCustomComm*) {};
    comm->Open();
    TPeerReader device(Peer->Master());
    std::string expected;
    for (int trial = 0; trial < 30; ++trial) {
        const std::string before = "<" + std::to_string(trial);
        ASSERT_TRUE(comm->WriteText(before));
        expected += before;
        // Sent: its drain notice now waits for this thread and holds the write thread, so
        // the next bytes stay pending until the purge serves that notice.
        ASSERT_TRUE(WaitUntil([&] { return device.Size() >= expected.size(); }));
        ASSERT_EQ(device.Received(), expected);
        ASSERT_TRUE(WaitUntil([] { return PendingHandOvers() == 1; }));
        ASSERT_TRUE(comm->WriteText("purged"));
        comm->PurgeWrite();
        ASSERT_TRUE(comm->WriteText(">"));
        expected += ">";
        ASSERT_TRUE(PumpUntil([&] { return device.Size() >= expected.size(); }));
        PumpUntil([&] { return comm->WriteBufUsed() == 0 && PendingHandOvers() == 0; });
    }
    PumpFor(50);
    EXPECT_EQ(device.Received(), expected);
}
