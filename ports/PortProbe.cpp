#include "ports/PortProbe.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "ports/Folders.h"
#include "ports/PortDirectory.h"
#include "ports/PortNames.h"
#include "ports/SerialTermios.h"

namespace {

dev_t DeviceAt(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode) ? st.st_rdev : 0;
}

// The line settings the program polls at.
TDCB ControllerLine() {
    TDCB dcb;
    dcb.DCBlength = sizeof(TDCB);
    dcb.BaudRate = 19200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.Flags = fBinary;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

// Reads until `count` bytes came or `wait` passed; how many came.
size_t ReadFor(int fd, size_t count, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    size_t got = 0;
    uint8_t buffer[64];
    while (got < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            got += static_cast<size_t>(n);
        } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
            break;
        }
    }
    return got;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    for (int tries = 0; done < bytes.size() && tries < 100; ++tries) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return false;
        } else {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
    return done == bytes.size();
}

// The request and the answer on an open, locked device whose settings the caller restores.
TProbeAnswer Exchange(int fd, std::span<const uint8_t> request, size_t answerSize,
                      std::chrono::milliseconds wait) {
    if (MakeLineRaw(fd) != 0 || ApplyLineConfiguration(fd, ControllerLine()) != 0) {
        return TProbeAnswer::Refused;
    }
    ::tcflush(fd, TCIFLUSH);
    if (!WriteAll(fd, request)) {
        return TProbeAnswer::Refused;
    }
    return ReadFor(fd, answerSize, wait) >= answerSize ? TProbeAnswer::Answered
                                                       : TProbeAnswer::Silent;
}

} // namespace

std::vector<TProbeCandidate> ProbeCandidates() {
    std::vector<TProbeCandidate> candidates;
    std::vector<dev_t> reached;
    const auto add = [&](const std::string& name, const std::string& path) {
        const dev_t device = DeviceAt(path);
        if (device == 0 || std::find(reached.begin(), reached.end(), device) != reached.end()) {
            return;
        }
        reached.push_back(device);
        candidates.push_back({name, path});
    };
    const auto folder = TPortFolderAccess::Open(PortDirectory());
    if (folder->State() == TPortFolderAccess::TState::Trusted) {
        std::vector<std::pair<int, std::string>> published;
        for (const std::string& name : FolderEntries(folder->Path())) {
            if (const int n = ComPortNumber(name); n > 0) {
                published.emplace_back(n, name);
            }
        }
        std::sort(published.begin(), published.end());
        for (const auto& [n, name] : published) {
            std::string path;
            if (ResolvePortName(name, path) == 0) {
                add(name, path);
            }
        }
    }
    // USB devices under the COM number that reaches them, when one does.
    const std::vector<std::string> present = PresentSerialDevices();
    for (const std::string& device : PresentUsbSerialDevices()) {
        const auto at = std::find(present.begin(), present.end(), device);
        std::string name = device;
        if (at != present.end() && folder->State() != TPortFolderAccess::TState::Refused) {
            std::string path;
            const std::string com = "COM" + std::to_string(at - present.begin() + 1);
            if (ResolvePortName(com, path) == 0 && DeviceAt(path) == DeviceAt(device)) {
                name = com;
            }
        }
        add(name, device);
    }
    return candidates;
}

TProbeAnswer ProbePort(const TProbeCandidate& candidate, std::span<const uint8_t> request,
                       size_t answerSize, std::chrono::milliseconds wait) {
    TPortLocation where;
    if (candidate.Name[0] == '/' || LocatePort(candidate.Name, where) != 0) {
        where = TPortLocation();
        where.Path = candidate.Path;
    }
    const int fd = OpenPortLocation(where, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EBUSY ? TProbeAnswer::Busy : TProbeAnswer::Refused;
    }
    struct stat st {};
    TProbeAnswer answer = TProbeAnswer::Refused;
    TSavedLine saved;
    if (::fstat(fd, &st) != 0 || !::isatty(fd) || (st.st_uid != 0 && st.st_uid != ::geteuid())) {
        answer = TProbeAnswer::Refused;
    } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        answer = errno == EWOULDBLOCK ? TProbeAnswer::Busy : TProbeAnswer::Refused;
    } else if (SaveLineSettings(fd, saved) == 0) {
        answer = Exchange(fd, request, answerSize, wait);
        RestoreLineSettings(fd, saved);
    }
    ::close(fd);
    return answer;
}

TProbeResult FindAnsweringPort(const std::vector<TProbeCandidate>& candidates,
                               std::span<const uint8_t> request, size_t answerSize,
                               std::chrono::milliseconds wait) {
    TProbeResult result;
    for (const TProbeCandidate& candidate : candidates) {
        switch (ProbePort(candidate, request, answerSize, wait)) {
        case TProbeAnswer::Answered:
            result.Found = true;
            result.Port = candidate;
            return result;
        case TProbeAnswer::Busy:
            result.Busy.push_back(candidate.Name);
            break;
        case TProbeAnswer::Silent:
        case TProbeAnswer::Refused:
            result.Tried.push_back(candidate.Name);
            break;
        }
    }
    return result;
}
