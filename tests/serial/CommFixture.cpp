#include "CommFixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/ErrorDisplay.h"
#include "platform/Synchronize.h"

void CommFixture::SetUp() {
    SetMainThread();
    Ports = std::make_unique<TPortFolder>();
    Peer = std::make_unique<TPtyPeer>();
    Ports->Publish("COM1", Peer->SlavePath());
    SetErrorDisplayHook([this](const std::string& text) { Shown.push_back(text); });
}

void CommFixture::TearDown() {
    SetErrorDisplayHook(nullptr);
    Peer.reset();
    Ports.reset();
}

bool CommFixture::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return done();
        }
        CheckSynchronize(5);
    }
    return true;
}

void CommFixture::PumpFor(int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        CheckSynchronize(5);
    }
}

std::string CommFixture::ReceivePumping(size_t count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        got += Peer->Receive(count - got.size(), 5);
        CheckSynchronize(0);
    }
    return got;
}

std::unique_ptr<TVaComm> CommFixture::MakeComm() {
    auto comm = std::make_unique<TVaComm>();
    comm->SetBaudrate(br19200);
    comm->SetPortNum(1);
    return comm;
}

void CommFixture::QueueBothHandOvers(TVaComm& comm) {
    ASSERT_EQ(PendingHandOvers(), 0u);
    if (!comm.OnTxEmpty) {
        comm.OnTxEmpty = [](TVaCustomComm*) {}; // a drain is handed over only to a listener
    }
    Peer->Send("r");
    ASSERT_TRUE(WaitUntil([] { return PendingHandOvers() == 1; }));
    ASSERT_TRUE(comm.WriteChar(0xC0));
    ASSERT_EQ(Peer->Receive(1), "\xC0");
    ASSERT_TRUE(WaitUntil([] { return PendingHandOvers() == 2; }));
}

bool CommFixture::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return done();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TWatchdog::TWatchdog(int ms, std::string what) {
    FThread = std::thread([this, ms, what = std::move(what)] {
        std::unique_lock lock(FLock);
        if (!FDisarmed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return FDone; })) {
            std::fprintf(stderr, "still stuck after %d ms: %s\n", ms, what.c_str());
            std::_Exit(3);
        }
    });
}

TWatchdog::~TWatchdog() {
    {
        std::lock_guard lock(FLock);
        FDone = true;
    }
    FDisarmed.notify_all();
    FThread.join();
}

std::string RaisedText(const std::function<void()>& action) {
    try {
        action();
    } catch (const EVaCommError& e) {
        return e.what();
    }
    return "";
}
