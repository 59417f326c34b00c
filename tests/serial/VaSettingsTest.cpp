// Settings objects, defaults and message composition of the serial port component.
#include <gtest/gtest.h>

#include "serial/VaComm.h"
#include "serial/VaCommBuffer.h"
#include "serial/VaMessages.h"

TEST(VaSettings, PersistentFoldsABatchIntoOneNotification) {
    TVaFlowControl fc;
    int changes = 0;
    fc.OnChange = [&](TVaPersistent*) { ++changes; };
    fc.SetOutCtsFlow(true);
    fc.SetOutCtsFlow(true); // equal: no notification
    EXPECT_EQ(changes, 1);
    fc.BeginUpdate();
    fc.SetControlDtr(dtrEnabled);
    fc.SetControlRts(rtsToggle);
    fc.SetXonXoffIn(true);
    EXPECT_EQ(changes, 1);
    fc.EndUpdate();
    EXPECT_EQ(changes, 2);
    fc.EndUpdate(); // unbalanced: count stays 0 and the owner hears once more
    EXPECT_EQ(fc.UpdateCount(), 0);
    EXPECT_EQ(changes, 3);

    TVaFlowControl copy;
    int copyChanges = 0;
    copy.OnChange = [&](TVaPersistent*) { ++copyChanges; };
    copy.Assign(fc);
    EXPECT_EQ(copyChanges, 1);
    EXPECT_TRUE(copy.OutCtsFlow());
    EXPECT_EQ(copy.ControlRts(), rtsToggle);
}

TEST(VaSettings, EventCharsNotifyOnEveryAssignmentAndKeepTheirOwnFields) {
    TVaEventChars chars;
    EXPECT_EQ(chars.XonChar(), 0x11);
    EXPECT_EQ(chars.XoffChar(), 0x13);
    int changes = 0;
    chars.OnChange = [&](TVaPersistent*) { ++changes; };
    chars.SetEofChar(0x1A);
    chars.SetEofChar(0x1A);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(chars.EofChar(), 0x1A);
    EXPECT_EQ(chars.EventChar(), 0);
    chars.SetEventChar(6, 'x'); // no such character
    EXPECT_EQ(changes, 2);
}

TEST(VaSettings, BuffersDefaultsAndSilentTimeouts) {
    TVaBuffers b;
    EXPECT_EQ(b.ReadSize(), 4096);
    EXPECT_EQ(b.WriteSize(), 2048);
    EXPECT_EQ(b.ReadTimeout(), 1000);
    EXPECT_EQ(b.WriteTimeout(), 1000);
    EXPECT_EQ(b.XonLimit(), 1024);
    EXPECT_EQ(b.XoffLimit(), 1024);
    int changes = 0;
    b.OnChange = [&](TVaPersistent*) { ++changes; };
    b.SetReadTimeout(50);
    b.SetWriteTimeout(60);
    EXPECT_EQ(changes, 0);
    b.SetWriteSize(2048);
    EXPECT_EQ(changes, 0);
    b.SetWriteSize(100);
    EXPECT_EQ(changes, 1);
}

TEST(VaSettings, NewComponentDefaults) {
    TVaComm comm;
    EXPECT_FALSE(comm.Active());
    EXPECT_EQ(comm.Baudrate(), br1200);
    EXPECT_EQ(comm.DeviceName(), "COM%d");
    EXPECT_EQ(comm.PortNum(), 0);
    EXPECT_EQ(comm.MonitorEvents(), (TVaCommEvents{ceError, ceRxChar, ceTxEmpty}));
    EXPECT_EQ(comm.Handle(), -1);
    EXPECT_EQ(comm.Version(), "1.9.5.1");
    comm.SetVersion("2.0");
    EXPECT_EQ(comm.Version(), "1.9.5.1");
    comm.SetPortNum(7);
    EXPECT_EQ(comm.GetDeviceName(), "COM7");
}

TEST(VaSettings, BaudrateAndUserBaudrateFollowEachOther) {
    TVaComm comm;
    comm.SetUserBaudrate(250000);
    EXPECT_EQ(comm.Baudrate(), brUser);
    comm.SetBaudrate(br9600);
    EXPECT_EQ(comm.UserBaudrate(), 0);
}

TEST(VaSettings, ClosedPortQuietlyDoesNothing) {
    TVaComm comm;
    uint8_t ch = 0x5A;
    EXPECT_FALSE(comm.ReadChar(ch));
    EXPECT_EQ(ch, 0x5A);
    EXPECT_EQ(comm.ReadBufUsed(), 0);
    EXPECT_EQ(comm.ReadBuf(&ch, 1), 0);
    EXPECT_EQ(comm.ReadText(), "");
    EXPECT_FALSE(comm.WriteChar('x'));
    EXPECT_EQ(comm.WriteBuf("abc", 3), 0);
    EXPECT_EQ(comm.WriteBufUsed(), 0);
    EXPECT_EQ(comm.WriteBufFree(), 0);
    EXPECT_EQ(comm.ReadBufFree(), 0);
    comm.PurgeRead();
    comm.PurgeWrite();
    comm.PurgeReadWrite();
    EXPECT_EQ(comm.GetCommStatus().Errors, 0u);
}

TEST(VaSettings, MessageComposition) {
    EXPECT_EQ(VaErrorMessage("Error writing dcb (%d), %s", 5),
              "Error writing dcb (5), " + VaSysErrorMessage(5));
    EXPECT_EQ(VaFormat(sVaNotFound, {"COM7"}), "Specified device not found (COM7).");
    EXPECT_EQ(VaErrorMessage(sVaBufferFull, 11),
              "Output buffer is full. Please check comm status.");
    EXPECT_EQ(VaFormat("100%% %s %d %s", {"a"}), "100% a %d %s");
    EXPECT_EQ(VaFormat("COM%d", {"3"}), "COM3");
}

TEST(VaSettings, EventMaskTable) {
    EXPECT_EQ(VaEventMask({ceError, ceRxChar}), 0x81u);
    EXPECT_EQ(VaEventMask({ceBreak, ceCts, ceDsr, ceError, ceRing, ceRlsd, ceRxChar, ceTxEmpty,
                           ceRxFlag, cePErr, ceRx80Full, ceEvent1, ceEvent2}),
              0x1FFFu);
}

TEST(VaCommBuffer, LinearFifoCompactsOnRemoval) {
    TVaCommBuffer buffer(8);
    buffer.Write("abcdef", 6);
    char out[8] = {};
    buffer.Peek(out, 2);
    EXPECT_EQ(std::string(out, 2), "ab");
    EXPECT_EQ(buffer.Size(), 6);
    buffer.Read(out, 4);
    EXPECT_EQ(std::string(out, 4), "abcd");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.DataPtr()), 2), "ef");
    buffer.Write("gh", 2);
    buffer.Remove(10); // more than held: empties
    EXPECT_EQ(buffer.Size(), 0);
}
