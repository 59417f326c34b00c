#include "ports/SerialDevice.h"

#include <optional>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <new>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "ports/PortNames.h"
#include "ports/SerialTermios.h"

namespace {

constexpr uint32_t kDefaultQueue = 4096;
// Larger queues are refused (ENOMEM); at 19200 bits per second this is hours of traffic.
constexpr uint32_t kMaxQueue = 16u << 20;
constexpr int kLinePollMs = 20; // modem lines and transmitter cannot be waited for by poll()
constexpr uint32_t kModemEvents = EV_CTS | EV_DSR | EV_RING | EV_RLSD;
// A descriptor found empty this recently is not read again by a query: a byte takes about
// half a millisecond at 19200 baud, and a waiter fetches and reports whatever came meanwhile.
constexpr int64_t kSeenEmptyFreshUs = 2000;

int64_t NowMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool IsGoneError(int e) {
    return e == EIO || e == ENXIO || e == ENODEV;
}
bool IsUnsupported(int e) {
    return e == ENOTTY || e == EINVAL || e == ENOSYS;
}

uint32_t ElapsedSince(const timespec& start) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t ms = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
    return ms < 0 ? 0 : static_cast<uint32_t>(std::min<int64_t>(ms, 0xFFFFFFF0));
}

// Fills the wake entries of a poll set after the device entry.
void AddWakeEvents(std::vector<pollfd>& fds, std::span<TEvent* const> wake) {
    for (TEvent* e : wake) {
        fds.push_back(pollfd{e->Handle(), POLLIN, 0});
    }
}

int WokenIndex(const std::vector<pollfd>& fds, size_t first) {
    for (size_t i = first; i < fds.size(); ++i) {
        if ((fds[i].revents & POLLIN) != 0) {
            return static_cast<int>(i - first);
        }
    }
    return -1;
}

} // namespace

TSerialDevice::TSerialDevice() {
    FKick = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

TSerialDevice::~TSerialDevice() {
    Close();
    if (FKick >= 0) {
        ::close(FKick);
    }
}

std::string TSerialDevice::DevicePath() const {
    std::lock_guard<std::mutex> g(FLock);
    return FPath;
}

void TSerialDevice::ResetStateLocked() {
    FEvents = 0;
    FErrors = 0;
    FMask = 0;
    FHead = 0;
    FCount = 0;
    FQueue.assign(kDefaultQueue, 0);
    FTimeouts = TCommTimeouts{};
    FTxPending = false;
    FWaiterParked = false;
    FSeenEmpty = false;
    FOutQueueEmpty = false;
    FGone = false;
}

namespace {

// Pseudo-terminal slaves (the simulator's line) have majors 136 to 143.
bool IsPseudoTerminal(const struct stat& st) {
    return major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

} // namespace

bool TSerialDevice::Open(const std::string& formedName) {
    FRefusal.clear();
    if (IsOpen()) {
        errno = EBUSY;
        return false;
    }
    TPortLocation where;
    if (int e = LocatePort(formedName, where); e != 0) {
        FRefusal = where.Refusal;
        errno = e;
        return false;
    }
    const std::string path = where.Path;
    const int fd = OpenPortLocation(where, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (!isatty(fd) || ::fstat(fd, &st) != 0) {
        ::close(fd);
        errno = ENOTTY;
        return false;
    }
    // A device another user owns (a terminal made world-writable, a stale link to it) is
    // theirs, whatever its mode says; devices of the system belong to root.
    if (st.st_uid != 0 && st.st_uid != ::geteuid()) {
        char node[128] = {};
        const std::string device = ttyname_r(fd, node, sizeof node) == 0 ? node : path;
        FRefusal = (device == formedName ? device : formedName + ": " + device) +
                   " belongs to another user";
        ::close(fd);
        errno = EACCES;
        return false;
    }
    // TIOCEXCL keeps other users out; root is not kept out by it, so the lock is taken too.
    // A pseudo-terminal's exclusive flag would outlive a killed program (its other end keeps
    // the terminal open), so there the lock alone, which dies with the process, does it.
    if (!IsPseudoTerminal(st)) {
        ioctl(fd, TIOCEXCL);
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        errno = e;
        return false;
    }
    // Raw whether or not the line configuration is written later: a terminal left cooked
    // would echo the controller's replies back to it and hold bytes back until a newline.
    if (int e = MakeLineRaw(fd); e != 0) {
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        errno = e;
        return false;
    }
    std::lock_guard<std::mutex> g(FLock);
    ResetStateLocked();
    FPath = path;
    serial_icounter_struct counters{};
    FCountersSupported = ioctl(fd, TIOCGICOUNT, &counters) == 0;
    if (FCountersSupported) {
        const int now[5] = {counters.frame, counters.overrun, counters.parity, counters.brk,
                            counters.buf_overrun};
        std::copy(std::begin(now), std::end(now), FCounters);
    }
    FModemSupported = ioctl(fd, TIOCMGET, &FModemLast) == 0;
    TLineReadback line;
    FDcb = TDCB{};
    FDcb.DCBlength = sizeof(TDCB);
    if (ReadLineConfiguration(fd, line) == 0) {
        FDcb.BaudRate = line.BaudRate;
        FDcb.ByteSize = line.ByteSize;
        FDcb.Parity = line.Parity;
        FDcb.StopBits = line.StopBits;
        FDcb.Flags = fBinary | (line.CtsRtsFlow ? fOutxCtsFlow : 0) |
                     (line.XonXoffOut ? fOutX : 0) | (line.XonXoffIn ? fInX : 0);
        FDcb.XonChar = line.XonChar;
        FDcb.XoffChar = line.XoffChar;
        FDcb.EofChar = line.EofChar;
    }
    FFd = fd;
    return true;
}

void TSerialDevice::Close() {
    std::lock_guard<std::mutex> g(FLock);
    const int fd = FFd.exchange(-1);
    if (fd >= 0) {
        // The exclusive flag stays on the terminal after close while others hold it open.
        ioctl(fd, TIOCNXCL);
        ::close(fd);
    }
    ClearKick();
    FWaiterParked = false;
    FPath.clear();
}

bool TSerialDevice::GetCommState(TDCB& dcb) {
    std::lock_guard<std::mutex> g(FLock);
    if (!IsOpen()) {
        errno = EBADF;
        return false;
    }
    dcb = FDcb;
    return true;
}

void TSerialDevice::ApplyControlLines(const TDCB& dcb) {
    const int fd = FFd.load();
    int dtr = TIOCM_DTR, rts = TIOCM_RTS;
    // DTR handshake has no kernel counterpart: the line is held active instead.
    ioctl(fd, DtrControlOf(dcb.Flags) == DTR_CONTROL_DISABLE ? TIOCMBIC : TIOCMBIS, &dtr);
    const uint32_t rtsControl = RtsControlOf(dcb.Flags);
    // Under CTS/RTS handshake the kernel drives RTS; "toggle" rests inactive between writes.
    if (rtsControl != RTS_CONTROL_HANDSHAKE) {
        ioctl(fd, rtsControl == RTS_CONTROL_ENABLE ? TIOCMBIS : TIOCMBIC, &rts);
    }
    // Pseudo-terminals have no modem lines (ENOTTY): that is not a failure.
}

bool TSerialDevice::SetCommState(const TDCB& dcb) {
    std::lock_guard<std::mutex> g(FLock);
    if (!IsOpen()) {
        errno = EBADF;
        return false;
    }
    if (int e = ApplyLineConfiguration(FFd.load(), dcb); e != 0) {
        if (IsGoneError(e)) {
            MarkGone();
        }
        errno = e;
        return false;
    }
    ApplyControlLines(dcb);
    FDcb = dcb;
    return true;
}

bool TSerialDevice::SetupComm(uint32_t inQueue, uint32_t outQueue) {
    std::lock_guard<std::mutex> g(FLock);
    if (!IsOpen()) {
        errno = EBADF;
        return false;
    }
    if (inQueue > kMaxQueue || outQueue > kMaxQueue) {
        errno = ENOMEM;
        return false;
    }
    const size_t capacity = inQueue == 0 ? kDefaultQueue : inQueue;
    std::vector<uint8_t> queue;
    try {
        queue.resize(capacity);
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return false;
    }
    const size_t keep = std::min(FCount, capacity);
    for (size_t i = 0; i < keep; ++i) {
        queue[i] = FQueue[(FHead + i) % FQueue.size()];
    }
    if (keep < FCount) {
        FErrors |= CE_RXOVER;
    }
    FQueue.swap(queue);
    FHead = 0;
    FCount = keep;
    return true;
}

bool TSerialDevice::GetCommTimeouts(TCommTimeouts& timeouts) {
    std::lock_guard<std::mutex> g(FLock);
    timeouts = FTimeouts;
    return true;
}

bool TSerialDevice::SetCommTimeouts(const TCommTimeouts& timeouts) {
    std::lock_guard<std::mutex> g(FLock);
    if (!IsOpen()) {
        errno = EBADF;
        return false;
    }
    FTimeouts = timeouts;
    return true;
}

bool TSerialDevice::GetCommMask(uint32_t& mask) {
    std::lock_guard<std::mutex> g(FLock);
    mask = FMask;
    return true;
}

bool TSerialDevice::SetCommMask(uint32_t mask) {
    std::lock_guard<std::mutex> g(FLock);
    if (!IsOpen()) {
        errno = EBADF;
        return false;
    }
    FMask = mask;
    FEvents &= mask;
    return true;
}

void TSerialDevice::MarkGone() {
    FGone = true;
}

bool TSerialDevice::CheckGone() {
    if (FGone) {
        return true;
    }
    pollfd p{FFd.load(), POLLOUT, 0};
    if (p.fd >= 0 && ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        MarkGone();
    }
    return FGone;
}

void TSerialDevice::KickLocked() {
    if (FKickPending) {
        return; // the waiter has not taken the last kick yet; one wakes it as well as two
    }
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(FKick, &one, sizeof one);
    FKickPending = true;
}

void TSerialDevice::ClearKick() {
    if (!FKickPending) {
        return;
    }
    uint64_t value = 0;
    [[maybe_unused]] ssize_t n = ::read(FKick, &value, sizeof value);
    FKickPending = false;
}

void TSerialDevice::EnqueueLocked(const uint8_t* data, size_t count) {
    const size_t capacity = FQueue.size();
    const size_t room = capacity - FCount;
    const size_t take = std::min(room, count);
    const size_t before = FCount;
    for (size_t i = 0; i < take; ++i) {
        FQueue[(FHead + FCount + i) % capacity] = data[i];
    }
    FCount += take;
    uint32_t events = 0;
    if (take > 0) {
        events |= EV_RXCHAR;
        if (std::memchr(data, static_cast<unsigned char>(FDcb.EvtChar), take) != nullptr) {
            events |= EV_RXFLAG;
        }
        if (before * 5 < capacity * 4 && FCount * 5 >= capacity * 4) {
            events |= EV_RX80FULL;
        }
    }
    if (take < count) {
        // No room: the rest is lost, as a driver whose input buffer overflowed loses it.
        FErrors |= CE_RXOVER;
        events |= EV_ERR;
    }
    FEvents |= events;
}

void TSerialDevice::DrainLocked() {
    const int fd = FFd.load();
    if (fd < 0 || FGone) {
        return;
    }
    uint8_t chunk[4096];
    FSeenEmpty = false;
    for (int pass = 0; pass < 64; ++pass) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            EnqueueLocked(chunk, static_cast<size_t>(n));
            if (static_cast<size_t>(n) == sizeof chunk) {
                continue;
            }
            // A short read took everything the terminal had: no need to ask again for 0.
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && IsGoneError(errno)) {
            MarkGone();
            break;
        }
        // 0: nothing waiting (an idle raw line reads 0 as well); EAGAIN likewise
        FSeenEmpty = true;
        FSeenEmptyAt = NowMicros();
        break;
    }
    CheckCountersLocked();
}

bool TSerialDevice::DescriptorSurelyEmptyLocked() const {
    return FWaiterParked || (FSeenEmpty && NowMicros() - FSeenEmptyAt < kSeenEmptyFreshUs);
}

// Moves new bytes into the queue for a query or read, waking the waiter when it did.
void TSerialDevice::DrainForQueryLocked() {
    if (DescriptorSurelyEmptyLocked()) {
        CheckCountersLocked(); // line errors are still fetched at once
        return;
    }
    const size_t before = FCount;
    DrainLocked();
    if (FCount != before) {
        KickLocked();
    }
}

void TSerialDevice::CheckOutQueueLocked(TComStat& stat) {
    if (FGone || FOutQueueEmpty) {
        return;
    }
    int queued = 0;
    if (ioctl(FFd.load(), TIOCOUTQ, &queued) == 0) {
        if (queued > 0) {
            stat.cbOutQue = static_cast<uint32_t>(queued);
        } else {
            FOutQueueEmpty = true; // stays empty until the next write
        }
    }
}

void TSerialDevice::CheckCountersLocked() {
    if (!FCountersSupported) {
        return;
    }
    serial_icounter_struct c{};
    if (ioctl(FFd.load(), TIOCGICOUNT, &c) != 0) {
        return;
    }
    const int now[5] = {c.frame, c.overrun, c.parity, c.brk, c.buf_overrun};
    const uint32_t bits[5] = {CE_FRAME, CE_OVERRUN, CE_RXPARITY, CE_BREAK, CE_OVERRUN};
    uint32_t errors = 0;
    for (int i = 0; i < 5; ++i) {
        if (now[i] != FCounters[i]) {
            errors |= bits[i];
        }
        FCounters[i] = now[i];
    }
    if (errors != 0) {
        FErrors |= errors;
        FEvents |= EV_ERR | ((errors & CE_BREAK) != 0 ? EV_BREAK : 0);
    }
}

void TSerialDevice::CheckModemLocked() {
    if (!FModemSupported || (FMask & kModemEvents) == 0) {
        return;
    }
    int now = 0;
    if (ioctl(FFd.load(), TIOCMGET, &now) != 0) {
        return;
    }
    const int changed = now ^ FModemLast;
    FModemLast = now;
    FEvents |= ((changed & TIOCM_CTS) ? EV_CTS : 0) | ((changed & TIOCM_DSR) ? EV_DSR : 0) |
               ((changed & TIOCM_RNG) ? EV_RING : 0) | ((changed & TIOCM_CD) ? EV_RLSD : 0);
}

void TSerialDevice::CheckTxEmptyLocked() {
    if (!FTxPending) {
        return;
    }
    int queued = 0;
    if (ioctl(FFd.load(), TIOCOUTQ, &queued) != 0 || queued <= 0) {
        FTxPending = false;
        FEvents |= EV_TXEMPTY;
    }
}

bool TSerialDevice::NeedsPollingLocked() const {
    return FTxPending || (FModemSupported && (FMask & kModemEvents) != 0);
}

TCommWait TSerialDevice::WaitCommEvent(uint32_t& evtMask, std::span<TEvent* const> wake,
                                       int* wokenIndex) {
    evtMask = 0;
    // Bytes are read only once poll() reported them: poll() is level-triggered, so bytes
    // already waiting at entry wake it at once, and an empty descriptor costs no read.
    bool readable = false;
    for (;;) {
        int timeout = -1;
        int fd = -1;
        {
            std::lock_guard<std::mutex> g(FLock);
            FWaiterParked = false;
            fd = FFd.load();
            if (fd < 0 || FMask == 0) {
                errno = fd < 0 ? EBADF : EINVAL;
                return TCommWait::cwFailed;
            }
            ClearKick();
            if (readable) {
                DrainLocked();
            } else {
                CheckCountersLocked();
            }
            CheckModemLocked();
            CheckTxEmptyLocked();
            const uint32_t ready = FEvents & FMask;
            FEvents = 0;
            if (ready != 0) {
                evtMask = ready;
                return TCommWait::cwEvent;
            }
            if (FGone) {
                errno = EIO;
                return TCommWait::cwFailed;
            }
            timeout = NeedsPollingLocked() ? kLinePollMs : -1;
            FWaiterParked = true; // queries leave new bytes to this wait from here on
        }
        std::vector<pollfd> fds{{fd, POLLIN, 0}, {FKick, POLLIN, 0}};
        AddWakeEvents(fds, wake);
        const int r = ::poll(fds.data(), fds.size(), timeout);
        const int pollErrno = errno;
        ++FWakeups;
        {
            std::lock_guard<std::mutex> g(FLock);
            FWaiterParked = false;
        }
        if (r < 0 && pollErrno != EINTR) {
            errno = pollErrno;
            return TCommWait::cwFailed;
        }
        readable = r > 0 && (fds[0].revents & POLLIN) != 0;
        if (const auto outcome = WokenOrGone(fds, 2, wokenIndex)) {
            return *outcome;
        }
    }
}

// After a poll(): a set wake event (its index counted from `first`) ends the wait as woken; a
// device that hung up or failed ends it as failed and is marked gone.
std::optional<TCommWait> TSerialDevice::WokenOrGone(const std::vector<pollfd>& fds, size_t first,
                                                    int* wokenIndex) {
    if (const int woken = WokenIndex(fds, first); woken >= 0) {
        if (wokenIndex != nullptr) {
            *wokenIndex = woken;
        }
        return TCommWait::cwWoken;
    }
    if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        MarkGone();
        errno = EIO;
        return TCommWait::cwFailed;
    }
    return std::nullopt;
}

bool TSerialDevice::ClearCommError(uint32_t& errors, TComStat* stat) {
    std::lock_guard<std::mutex> g(FLock);
    errors = 0;
    if (!IsOpen()) {
        errno = EBADF;
        return false;
    }
    DrainForQueryLocked();
    errors = FErrors;
    FErrors = 0;
    if (stat != nullptr) {
        *stat = TComStat{};
        stat->cbInQue = static_cast<uint32_t>(FCount);
        CheckOutQueueLocked(*stat);
    }
    // A device that went away still answers with what it had queued; the component sees
    // the loss through its silent line and its refused writes.
    return true;
}

bool TSerialDevice::ReadFile(void* buf, uint32_t count, uint32_t& read) {
    std::lock_guard<std::mutex> g(FLock);
    read = 0;
    if (!IsOpen()) {
        errno = EBADF;
        return false;
    }
    if (FCount < count) {
        DrainForQueryLocked();
    }
    const size_t n = std::min<size_t>(count, FCount);
    auto* out = static_cast<uint8_t*>(buf);
    const size_t capacity = FQueue.size();
    const size_t first = std::min(n, capacity - FHead);
    std::memcpy(out, FQueue.data() + FHead, first);
    std::memcpy(out + first, FQueue.data(), n - first);
    FHead = (FHead + n) % capacity;
    FCount -= n;
    read = static_cast<uint32_t>(n);
    return true;
}

bool TSerialDevice::WriteFile(const void* buf, uint32_t count, uint32_t& written) {
    written = 0;
    const int fd = FFd.load();
    if (fd < 0) {
        errno = EBADF;
        return false;
    }
    if (FGone) {
        errno = EIO;
        return false;
    }
    if (count == 0) {
        return true;
    }
    ssize_t n = -1;
    do {
        n = ::write(fd, buf, count);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        if (IsGoneError(errno)) {
            MarkGone();
        }
        return false; // EAGAIN: the line takes nothing now
    }
    written = static_cast<uint32_t>(n);
    std::lock_guard<std::mutex> g(FLock);
    FOutQueueEmpty = false;
    if ((FMask & EV_TXEMPTY) != 0) {
        FTxPending = true;
        KickLocked();
    }
    return true;
}

TCommWait TSerialDevice::WaitWritable(std::span<TEvent* const> wake, uint32_t timeoutMs,
                                      int* wokenIndex) {
    const int fd = FFd.load();
    if (fd < 0) {
        errno = EBADF;
        return TCommWait::cwFailed;
    }
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        int timeout = -1;
        if (timeoutMs != INFINITE) {
            const uint32_t elapsed = ElapsedSince(start);
            timeout = elapsed >= timeoutMs ? 0 : static_cast<int>(timeoutMs - elapsed);
        }
        std::vector<pollfd> fds{{fd, POLLOUT, 0}};
        AddWakeEvents(fds, wake);
        const int r = ::poll(fds.data(), fds.size(), timeout);
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0) {
            return TCommWait::cwFailed;
        }
        if (const auto outcome = WokenOrGone(fds, 1, wokenIndex)) {
            return *outcome;
        }
        if ((fds[0].revents & POLLOUT) != 0) {
            return TCommWait::cwEvent;
        }
        if (r == 0) {
            return TCommWait::cwTimeout;
        }
    }
}

bool TSerialDevice::PurgeComm(uint32_t flags) {
    std::lock_guard<std::mutex> g(FLock);
    const int fd = FFd.load();
    if (fd < 0) {
        errno = EBADF;
        return false;
    }
    const bool input = (flags & (PURGE_RXABORT | PURGE_RXCLEAR)) != 0;
    const bool output = (flags & (PURGE_TXABORT | PURGE_TXCLEAR)) != 0;
    if (input || output) {
        const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
        // A device that went away has nothing left to discard.
        if (tcflush(fd, which) != 0 && !IsGoneError(errno)) {
            return false;
        }
    }
    if (input) {
        FHead = 0;
        FCount = 0;
        FEvents &= ~(EV_RXCHAR | EV_RXFLAG | EV_RX80FULL);
    }
    return true;
}

bool TSerialDevice::GetCommModemStatus(uint32_t& status) {
    std::lock_guard<std::mutex> g(FLock);
    status = 0;
    const int fd = FFd.load();
    if (fd < 0) {
        errno = EBADF;
        return false;
    }
    int lines = 0;
    if (ioctl(fd, TIOCMGET, &lines) != 0) {
        return IsUnsupported(errno); // no modem lines: all inactive
    }
    status = ((lines & TIOCM_CTS) ? MS_CTS_ON : 0) | ((lines & TIOCM_DSR) ? MS_DSR_ON : 0) |
             ((lines & TIOCM_RNG) ? MS_RING_ON : 0) | ((lines & TIOCM_CD) ? MS_RLSD_ON : 0);
    return true;
}
