#include "CommFixture.h"

#include <chrono>

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

std::string RaisedText(const std::function<void()>& action) {
    try {
        action();
    } catch (const EVaCommError& e) {
        return e.what();
    }
    return "";
}
