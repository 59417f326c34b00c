#include "tests/support/PtyPeer.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

#include "ports/PortDirectory.h"

TPtyPeer::TPtyPeer() {
    char name[256] = {};
    if (openpty(&FMaster, &FSlave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    FSlavePath = name;
    fcntl(FMaster, F_SETFL, fcntl(FMaster, F_GETFL) | O_NONBLOCK);
    fcntl(FMaster, F_SETFD, FD_CLOEXEC);
    fcntl(FSlave, F_SETFD, FD_CLOEXEC);
}

TPtyPeer::~TPtyPeer() {
    Unplug();
}

void TPtyPeer::Unplug() {
    if (FSlave >= 0) {
        close(FSlave);
        FSlave = -1;
    }
    if (FMaster >= 0) {
        close(FMaster);
        FMaster = -1;
    }
}

void TPtyPeer::Send(std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(FMaster, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            throw std::runtime_error("peer write failed");
        } else {
            pollfd p{FMaster, POLLOUT, 0};
            poll(&p, 1, 100);
        }
    }
}

std::string TPtyPeer::Receive(size_t count, int timeoutMs) {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            break;
        }
        pollfd p{FMaster, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        char buf[4096];
        const ssize_t n = read(FMaster, buf, std::min(sizeof buf, count - out.size()));
        if (n > 0) {
            out.append(buf, static_cast<size_t>(n));
        }
    }
    return out;
}

std::string TPtyPeer::ReceiveAll(int timeoutMs) {
    return Receive(1 << 20, timeoutMs);
}

TPeerReader::TPeerReader(int master, size_t chunk, int pauseUs) {
    FThread = std::thread([this, master, chunk, pauseUs] {
        std::string buf(chunk, '\0');
        while (!FStop) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) {
                continue;
            }
            const ssize_t n = read(master, buf.data(), chunk);
            if (n > 0) {
                std::lock_guard lock(FLock);
                FReceived.append(buf.data(), static_cast<size_t>(n));
            }
            if (pauseUs > 0) {
                usleep(static_cast<useconds_t>(pauseUs));
            }
        }
    });
}

TPeerReader::~TPeerReader() {
    FStop = true;
    FThread.join();
}

std::string TPeerReader::Received() const {
    std::lock_guard lock(FLock);
    return FReceived;
}

size_t TPeerReader::Size() const {
    std::lock_guard lock(FLock);
    return FReceived.size();
}

TPortFolder::TPortFolder() {
    char tmpl[] = "/tmp/uego-serial-test-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    FPath = tmpl;
    SetPortDirectory(FPath);
}

TPortFolder::~TPortFolder() {
    SetPortDirectory("");
    for (int i = 0; i <= 16; ++i) {
        Withdraw("COM" + std::to_string(i));
    }
    rmdir(FPath.c_str());
}

void TPortFolder::Publish(const std::string& name, const std::string& device) {
    const std::string link = FPath + "/" + name;
    unlink(link.c_str());
    if (symlink(device.c_str(), link.c_str()) != 0) {
        throw std::runtime_error("symlink failed");
    }
}

void TPortFolder::Withdraw(const std::string& name) {
    unlink((FPath + "/" + name).c_str());
}
