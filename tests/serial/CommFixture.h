#pragma once
// Fixture of the component tests: the test thread is the UI thread, a pseudo-terminal is
// published as COM1 in a temporary port directory, and the error display records texts.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "serial/VaComm.h"
#include "tests/support/PtyPeer.h"

class CommFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs hand-overs until `done` holds or `timeoutMs` passed; returns `done()`.
    static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000);
    // Waits, without running hand-overs, until `done` holds or `timeoutMs` passed.
    static bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 2000);
    // Runs hand-overs for `ms` milliseconds.
    static void PumpFor(int ms);
    // Reads `count` bytes on the device side while the UI thread keeps running hand-overs,
    // as the program's event loop does: the write thread hands its drain notification over
    // and waits for it, so a UI thread that only waited for bytes would hold the line up.
    std::string ReceivePumping(size_t count, int timeoutMs = 2000);
    // A component set up as the program sets it: 19200 baud, port 1.
    std::unique_ptr<TVaComm> MakeComm();
    // Leaves both threads of the open `comm` blocked in a hand-over, the event thread's
    // (a received byte) queued first, the write thread's (the drain after one byte) second.
    void QueueBothHandOvers(TVaComm& comm);

    std::unique_ptr<TPortFolder> Ports;
    std::unique_ptr<TPtyPeer> Peer;
    std::vector<std::string> Shown; // texts the error display would have shown
};

// Ends the test program with `what` if it is still alive after `ms`: a deadlock then fails
// the run instead of hanging it.
class TWatchdog {
public:
    TWatchdog(int ms, std::string what);
    ~TWatchdog();
    TWatchdog(const TWatchdog&) = delete;
    TWatchdog& operator=(const TWatchdog&) = delete;

private:
    std::mutex FLock;
    std::condition_variable FDisarmed;
    bool FDone = false;
    std::thread FThread;
};

// The text of the EVaCommError that `action` raises, or "" when it raises none.
std::string RaisedText(const std::function<void()>& action);
