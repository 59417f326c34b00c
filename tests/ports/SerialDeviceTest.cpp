// The device layer on real pseudo-terminals: exclusive open, line configuration, the input
// queue with its edge-triggered receive event, overflow, writes, purges and hang-up.
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "ports/SerialDevice.h"
#include "ports/SerialTermios.h"
#include "tests/support/PtyPeer.h"

namespace {

TDCB Line(uint32_t baud, uint8_t size, uint8_t parity, uint8_t stop, uint32_t flags = fBinary) {
    TDCB dcb;
    dcb.DCBlength = sizeof(TDCB);
    dcb.BaudRate = baud;
    dcb.ByteSize = size;
    dcb.Parity = parity;
    dcb.StopBits = stop;
    dcb.Flags = flags;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

// Waits for a line event, giving up after `ms` through a wake event set by a helper thread.
TCommWait WaitEvent(TSerialDevice& dev, uint32_t& mask, int ms) {
    TEvent giveUp, done;
    std::thread timer([&] {
        if (done.WaitFor(static_cast<uint32_t>(ms)) != TWaitResult::wrSignaled) {
            giveUp.SetEvent();
        }
    });
    TEvent* const wake[] = {&giveUp};
    const TCommWait result = dev.WaitCommEvent(mask, wake);
    done.SetEvent();
    timer.join();
    return result;
}

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dev.Open(Peer.SlavePath())) << strerror(errno);
        ASSERT_TRUE(Dev.SetCommState(Line(19200, 8, NOPARITY, ONESTOPBIT)));
    }
    TPtyPeer Peer;
    TSerialDevice Dev;
};

} // namespace

TEST(SerialDevice, OpenIsExclusiveAndReleasedByClose) {
    TPtyPeer peer;
    TSerialDevice first, second;
    ASSERT_TRUE(first.Open(peer.SlavePath()));
    EXPECT_FALSE(second.Open(peer.SlavePath()));
    EXPECT_EQ(errno, EBUSY);
    first.Close();
    EXPECT_TRUE(second.Open(peer.SlavePath())) << strerror(errno);
}

// A program killed while it holds the line leaves nothing behind that keeps the next one out:
// the far end of a pseudo-terminal (the simulator) holds it open, so a flag on the terminal
// itself would stay.
TEST(SerialDevice, AKilledHolderLeavesThePseudoTerminalUsable) {
    TPtyPeer peer;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TSerialDevice held;
        if (!held.Open(peer.SlavePath())) {
            _exit(1);
        }
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child could not open the line";
    const int fd = open(peer.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int exclusive = -1;
    ASSERT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0) << "later opens by other users fail with 'busy'";
    close(fd);
    TSerialDevice next;
    EXPECT_TRUE(next.Open(peer.SlavePath())) << strerror(errno);
}

// A terminal another user made world-writable is still theirs, also behind a stale link in
// the user's own port folder.
TEST(SerialDevice, ADeviceOfAnotherUserIsRefused) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the terminal to another user";
    }
    TPtyPeer theirs;
    ASSERT_EQ(chown(theirs.SlavePath().c_str(), 4242, 4242), 0);
    ASSERT_EQ(chmod(theirs.SlavePath().c_str(), 0666), 0);
    TPortFolder ports;
    ports.Publish("COM1", theirs.SlavePath());
    TSerialDevice dev;
    EXPECT_FALSE(dev.Open("COM1"));
    EXPECT_EQ(dev.Refusal(), "COM1: " + theirs.SlavePath() + " belongs to another user");
    EXPECT_FALSE(dev.Open(theirs.SlavePath()));
    EXPECT_FALSE(dev.IsOpen());
}

TEST(SerialDevice, OpenFailuresGiveTheReason) {
    TSerialDevice dev;
    EXPECT_FALSE(dev.Open("/dev/no-such-serial-device"));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(dev.Open("COM4242"));
    EXPECT_EQ(errno, ENOENT);
    char tmpl[] = "/tmp/uego-notatty-XXXXXX";
    const int fd = mkstemp(tmpl);
    close(fd);
    EXPECT_FALSE(dev.Open(tmpl));
    EXPECT_EQ(errno, ENOTTY);
    unlink(tmpl);
    EXPECT_FALSE(dev.IsOpen());
}

TEST_F(DeviceTest, LineConfigurationReachesTheTerminal) {
    ASSERT_TRUE(Dev.SetCommState(Line(19200, 8, NOPARITY, ONESTOPBIT)));
    TLineReadback line;
    ASSERT_EQ(ReadLineConfiguration(Peer.Master(), line), 0);
    EXPECT_EQ(line.BaudRate, 19200u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, ONESTOPBIT);
    EXPECT_TRUE(line.Raw);
    EXPECT_FALSE(line.CtsRtsFlow);
    EXPECT_FALSE(line.XonXoffOut);
    EXPECT_FALSE(line.XonXoffIn);

    // A rate POSIX has no constant for, two stop bits and both handshakes. (A pseudo-terminal
    // always keeps 8 data bits and no parity, so those are checked in the kept record.)
    TDCB other = Line(250000, 7, MARKPARITY, TWOSTOPBITS, fBinary | fOutX | fInX | fOutxCtsFlow);
    other.XonChar = 0x01;
    other.EofChar = 0x1A;
    ASSERT_TRUE(Dev.SetCommState(other));
    ASSERT_EQ(ReadLineConfiguration(Peer.Master(), line), 0);
    EXPECT_EQ(line.BaudRate, 250000u);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
    EXPECT_TRUE(line.CtsRtsFlow && line.XonXoffOut && line.XonXoffIn);
    EXPECT_EQ(line.XonChar, 0x01);
    EXPECT_EQ(line.EofChar, 0x1A);
    TDCB back;
    ASSERT_TRUE(Dev.GetCommState(back));
    EXPECT_EQ(back.EofChar, 0x1A);
    EXPECT_EQ(back.ByteSize, 7);
    EXPECT_EQ(back.Parity, MARKPARITY);
    EXPECT_EQ(back.Flags, other.Flags);
}

TEST_F(DeviceTest, LineSettingsTheKernelCannotDoAreRefused) {
    // On a pseudo-terminal DTR and RTS are not supported; that is no failure.
    TDCB withLines = Line(9600, 8, NOPARITY, ONESTOPBIT, fBinary | 0x0010 | 0x1000);
    EXPECT_TRUE(Dev.SetCommState(withLines));
    EXPECT_FALSE(Dev.SetCommState(Line(9600, 4, NOPARITY, ONESTOPBIT)));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_FALSE(Dev.SetCommState(Line(9600, 8, 7, ONESTOPBIT)));
    EXPECT_FALSE(Dev.SetCommState(Line(9600, 8, NOPARITY, ONE5STOPBITS)));
    EXPECT_TRUE(Dev.SetCommState(Line(9600, 5, NOPARITY, ONE5STOPBITS)));
}

TEST_F(DeviceTest, ReceiveEventIsReportedOncePerArrival) {
    ASSERT_TRUE(Dev.SetCommState(Line(19200, 8, NOPARITY, ONESTOPBIT)));
    ASSERT_TRUE(Dev.SetCommMask(EV_RXCHAR | EV_ERR));
    Peer.Send("abc");
    uint32_t mask = 0;
    ASSERT_EQ(WaitEvent(Dev, mask, 2000), TCommWait::cwEvent);
    EXPECT_EQ(mask, EV_RXCHAR);
    // The bytes stay unread: no second event for them.
    EXPECT_EQ(WaitEvent(Dev, mask, 150), TCommWait::cwWoken);
    uint32_t errors = 0;
    TComStat stat;
    ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    EXPECT_EQ(stat.cbInQue, 3u);
    EXPECT_EQ(errors, 0u);
    // A new byte raises a new event.
    Peer.Send("d");
    ASSERT_EQ(WaitEvent(Dev, mask, 2000), TCommWait::cwEvent);
    char buf[8] = {};
    uint32_t read = 0;
    ASSERT_TRUE(Dev.ReadFile(buf, sizeof buf, read));
    EXPECT_EQ(std::string(buf, read), "abcd");
    ASSERT_TRUE(Dev.ReadFile(buf, sizeof buf, read));
    EXPECT_EQ(read, 0u);
}

TEST_F(DeviceTest, BytesFetchedByAQueryStillWakeTheWaiter) {
    ASSERT_TRUE(Dev.SetCommMask(EV_RXCHAR));
    uint32_t mask = 0;
    TCommWait result = TCommWait::cwFailed;
    TEvent stop;
    std::thread waiter([&] {
        TEvent* const wake[] = {&stop};
        result = Dev.WaitCommEvent(mask, wake);
    });
    usleep(50 * 1000);
    Peer.Send("xy");
    // Another thread moves the bytes into the queue first.
    uint32_t errors = 0;
    TComStat stat;
    for (int i = 0; i < 200 && stat.cbInQue < 2; ++i) {
        Dev.ClearCommError(errors, &stat);
        usleep(1000);
    }
    usleep(100 * 1000);
    stop.SetEvent();
    waiter.join();
    EXPECT_EQ(result, TCommWait::cwEvent);
    EXPECT_EQ(mask, EV_RXCHAR);
}

// Queries skip the descriptor right after finding it empty, or while a waiter sits on it;
// bytes that come meanwhile must still reach the queue soon, with or without a waiter.
TEST_F(DeviceTest, QueriesSeeBytesThatArriveRightAfterAnEmptyLook) {
    ASSERT_TRUE(Dev.SetCommMask(EV_RXCHAR));
    uint32_t errors = 0;
    TComStat stat;
    ASSERT_TRUE(Dev.ClearCommError(errors, &stat)); // finds the descriptor empty
    Peer.Send("ab");
    for (int i = 0; i < 1000 && stat.cbInQue < 2; ++i) {
        ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    }
    for (int i = 0; i < 500 && stat.cbInQue < 2; ++i) {
        usleep(1000);
        ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    }
    EXPECT_EQ(stat.cbInQue, 2u) << "a query loop without a waiter must not go blind";

    uint32_t mask = 0;
    ASSERT_EQ(WaitEvent(Dev, mask, 2000), TCommWait::cwEvent); // the arrival of "ab"
    TEvent stop;
    std::atomic<int> events{0};
    std::thread waiter([&] {
        TEvent* const wake[] = {&stop};
        uint32_t seen = 0;
        while (Dev.WaitCommEvent(seen, wake) == TCommWait::cwEvent) {
            events += (seen & EV_RXCHAR) != 0 ? 1 : 0;
        }
    });
    usleep(50 * 1000); // the waiter is parked on the descriptor
    Peer.Send("cde");
    for (int i = 0; i < 2000 && stat.cbInQue < 5; ++i) {
        usleep(500);
        ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    }
    EXPECT_EQ(stat.cbInQue, 5u);
    char buf[8] = {};
    uint32_t read = 0;
    ASSERT_TRUE(Dev.ReadFile(buf, sizeof buf, read));
    EXPECT_EQ(std::string(buf, read), "abcde");
    usleep(50 * 1000);
    stop.SetEvent();
    waiter.join();
    EXPECT_EQ(events.load(), 1) << "the arrival is reported once";
}

TEST_F(DeviceTest, OverflowKeepsTheQueueFullAndRecordsTheError) {
    ASSERT_TRUE(Dev.SetCommState(Line(19200, 8, NOPARITY, ONESTOPBIT)));
    ASSERT_TRUE(Dev.SetupComm(16, 16));
    Peer.Send(std::string(20, 'z'));
    usleep(50 * 1000);
    uint32_t errors = 0;
    TComStat stat;
    ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    EXPECT_EQ(stat.cbInQue, 16u);
    EXPECT_EQ(errors, CE_RXOVER);
    ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    EXPECT_EQ(errors, 0u) << "fetching clears the error bits";
}

TEST_F(DeviceTest, PurgeEmptiesTheInputQueue) {
    ASSERT_TRUE(Dev.SetCommState(Line(19200, 8, NOPARITY, ONESTOPBIT)));
    Peer.Send("12345");
    usleep(50 * 1000);
    uint32_t errors = 0;
    TComStat stat;
    ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    ASSERT_EQ(stat.cbInQue, 5u);
    ASSERT_TRUE(Dev.PurgeComm(PURGE_RXABORT | PURGE_RXCLEAR));
    ASSERT_TRUE(Dev.ClearCommError(errors, &stat));
    EXPECT_EQ(stat.cbInQue, 0u);
}

TEST_F(DeviceTest, WritesArePendingWhileThePeerDoesNotRead) {
    ASSERT_TRUE(Dev.SetCommState(Line(19200, 8, NOPARITY, ONESTOPBIT)));
    const std::string block(4096, 'w');
    uint32_t written = 0;
    size_t total = 0;
    bool full = false;
    // The kernel moves bytes on to the peer's side in the background: the line is full once
    // it has taken nothing for 100 ms.
    for (int round = 0; round < 10000 && !full; ++round) {
        while (Dev.WriteFile(block.data(), block.size(), written)) {
            total += written;
        }
        ASSERT_EQ(errno, EAGAIN);
        full = Dev.WaitWritable({}, 100) == TCommWait::cwTimeout;
    }
    ASSERT_TRUE(full);
    TEvent stop;
    stop.SetEvent();
    TEvent* const wake[] = {&stop};
    int woken = -1;
    EXPECT_EQ(Dev.WaitWritable(wake, INFINITE, &woken), TCommWait::cwWoken);
    EXPECT_EQ(woken, 0);
    EXPECT_EQ(Peer.Receive(total, 5000).size(), total);
    EXPECT_EQ(Dev.WaitWritable({}, 1000), TCommWait::cwEvent);
}

TEST_F(DeviceTest, HungUpDeviceFailsAtOnceWithoutSpinning) {
    ASSERT_TRUE(Dev.SetCommMask(EV_RXCHAR | EV_ERR));
    Peer.Unplug();
    uint32_t mask = 0;
    const uint64_t before = Dev.WaitWakeups();
    EXPECT_EQ(WaitEvent(Dev, mask, 2000), TCommWait::cwFailed);
    EXPECT_TRUE(Dev.Gone());
    EXPECT_EQ(WaitEvent(Dev, mask, 2000), TCommWait::cwFailed);
    EXPECT_LE(Dev.WaitWakeups() - before, 2u);
    uint32_t written = 0;
    EXPECT_FALSE(Dev.WriteFile("x", 1, written));
    EXPECT_EQ(errno, EIO);
    // Queries and purges of a device that went away still answer.
    uint32_t errors = 0;
    TComStat stat;
    EXPECT_TRUE(Dev.ClearCommError(errors, &stat));
    EXPECT_TRUE(Dev.PurgeComm(PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR));
}
