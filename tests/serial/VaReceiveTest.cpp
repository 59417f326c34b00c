// Receive path: OnRxChar on the UI thread with the queued count, reading, purging, and an
// exception in the handler.
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

#include "CommFixture.h"
#include "platform/Synchronize.h"

TEST_F(CommFixture, ThreeBytesGiveOneNotificationOnTheUiThread) {
    auto comm = MakeComm();
    std::vector<int> counts;
    std::thread::id handlerThread;
    comm->OnRxChar = [&](TVaCustomComm* sender, int count) {
        EXPECT_EQ(sender, comm.get());
        handlerThread = std::this_thread::get_id();
        counts.push_back(count);
    };
    comm->Open();
    Peer->Send("\x01\x02\x03");
    ASSERT_TRUE(PumpUntil([&] { return !counts.empty(); }));
    PumpFor(100);
    EXPECT_EQ(counts, std::vector<int>{3});
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
    uint8_t ch = 0;
    for (uint8_t expected : {1, 2, 3}) {
        ASSERT_TRUE(comm->ReadChar(ch));
        EXPECT_EQ(ch, expected);
    }
    ch = 0x77;
    EXPECT_FALSE(comm->ReadChar(ch));
    EXPECT_EQ(ch, 0x77);
}

TEST_F(CommFixture, BytesLeftUnreadAreCountedInTheNextNotification) {
    auto comm = MakeComm();
    std::vector<int> counts;
    comm->OnRxChar = [&](TVaCustomComm* sender, int count) {
        counts.push_back(count);
        uint8_t ch;
        sender->ReadChar(ch);
    };
    comm->Open();
    Peer->Send("abc");
    ASSERT_TRUE(PumpUntil([&] { return counts.size() == 1; }));
    PumpFor(200);
    EXPECT_EQ(counts.size(), 1u) << "unread bytes raise no further notification";
    EXPECT_EQ(comm->ReadBufUsed(), 2);
    Peer->Send("d");
    ASSERT_TRUE(PumpUntil([&] { return counts.size() == 2; }));
    EXPECT_EQ(counts[1], 3);
    EXPECT_EQ(comm->ReadText(), "cd");
}

TEST_F(CommFixture, BytesArrivingDuringTheHandlerFollowInTheNextNotification) {
    auto comm = MakeComm();
    std::vector<std::string> seen;
    comm->OnRxChar = [&](TVaCustomComm* sender, int) {
        if (seen.empty()) {
            Peer->Send("late");
            usleep(50 * 1000);
        }
        seen.push_back(sender->ReadText());
    };
    comm->Open();
    Peer->Send("first");
    ASSERT_TRUE(PumpUntil([&] {
        std::string all;
        for (auto& s : seen) {
            all += s;
        }
        return all == "firstlate";
    }));
}

TEST_F(CommFixture, AnExceptionInTheHandlerIsShownOnceAndReceptionGoesOn) {
    auto comm = MakeComm();
    int calls = 0;
    comm->OnRxChar = [&](TVaCustomComm* sender, int) {
        ++calls;
        sender->PurgeRead();
        if (calls == 1) {
            throw EVaCommError("handler failed");
        }
    };
    comm->Open();
    Peer->Send("x");
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
    PumpFor(100);
    EXPECT_EQ(Shown, std::vector<std::string>{"handler failed"});
    Peer->Send("y");
    ASSERT_TRUE(PumpUntil([&] { return calls == 2; }));
    EXPECT_EQ(Shown.size(), 1u);
}

TEST_F(CommFixture, PurgeReadEmptiesAPartialReply) {
    auto comm = MakeComm();
    comm->Open();
    Peer->Send("\x01\x02\x03\x04");
    ASSERT_TRUE(PumpUntil([&] { return comm->ReadBufUsed() == 4; }));
    comm->PurgeRead();
    EXPECT_EQ(comm->ReadBufUsed(), 0);
    uint8_t ch;
    EXPECT_FALSE(comm->ReadChar(ch));
}

TEST_F(CommFixture, NotificationsInFlightAreServedWhileClosing) {
    auto comm = MakeComm();
    int calls = 0;
    comm->OnRxChar = [&](TVaCustomComm* sender, int) {
        ++calls;
        EXPECT_TRUE(sender->Active()); // delivered while the device is still open
        sender->PurgeRead();
    };
    comm->Open();
    Peer->Send("z");
    usleep(100 * 1000); // the event thread is now waiting for the UI thread
    comm->Close();
    EXPECT_LE(calls, 1);
    EXPECT_FALSE(comm->Active());
}

TEST_F(CommFixture, CloseFromInsideTheHandlerDoesNotHang) {
    auto comm = MakeComm();
    int calls = 0;
    comm->OnRxChar = [&](TVaCustomComm* sender, int) {
        ++calls;
        sender->Close();
    };
    comm->Open();
    Peer->Send("bye");
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
    EXPECT_FALSE(comm->Active());
    comm->Open(); // the stopped threads are released and new ones start
    EXPECT_TRUE(comm->Active());
    Peer->Send("again");
    ASSERT_TRUE(PumpUntil([&] { return calls == 2; }));
}

TEST_F(CommFixture, ReopenFromInsideTheHandlerWhileTheNextNotificationWaits) {
    auto comm = MakeComm();
    int calls = 0;
    comm->OnRxChar = [&](TVaCustomComm* sender, int) {
        sender->PurgeRead();
        if (++calls == 1) {
            Peer->Send("more");
            usleep(100 * 1000); // the event thread now waits to hand the next one over
            sender->Close();
            sender->Open();
        }
    };
    comm->Open();
    TWatchdog watchdog(10000, "Close from the receive handler deadlocked");
    Peer->Send("first");
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
    EXPECT_TRUE(comm->Active());
    Peer->Send("again");
    ASSERT_TRUE(PumpUntil([&] { return calls == 2; }));
}

TEST_F(CommFixture, CloseFromTheHandlerWhileTheWriteThreadWaitsToo) {
    auto comm = MakeComm();
    int closed = 0;
    int empties = 0;
    comm->OnClose = [&](TVaCustomComm*) { ++closed; };
    comm->OnTxEmpty = [&](TVaCustomComm*) { ++empties; };
    comm->OnRxChar = [](TVaCustomComm* sender, int) { sender->Close(); };
    comm->Open();
    ASSERT_NO_FATAL_FAILURE(QueueBothHandOvers(*comm));
    // Close waits for the write thread, whose drain notice is queued behind this one.
    TWatchdog watchdog(10000, "Close from the receive handler deadlocked");
    ASSERT_TRUE(PumpUntil([&] { return closed == 1; }, 5000));
    EXPECT_FALSE(comm->Active());
    EXPECT_EQ(empties, 1);
}
