#pragma once
// A serial device on POSIX termios with one operation per call the serial component makes:
// open exclusively, line configuration, queue sizes, time-outs, event mask, waiting for line
// events, clearing errors and reading queue counts, immediate reads, non-blocking writes,
// purges and close. The layer keeps its own input queue: bytes move from the descriptor into
// it while a thread waits for line events and whenever the queue is queried or read. A query
// or read skips the descriptor when nothing new can be there yet (a waiter parked on it will
// fetch and report new bytes, or the descriptor was found empty a moment ago), which keeps
// a ten-per-second poll of the controller down to a few system calls per reply.
//
// Failing operations return false (or cwFailed) and leave the reason in errno.
// Threads: one thread may wait for line events, one may write, and others may query, read
// and purge at the same time. Open, configuration and Close come from one thread while no
// other thread uses the device.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "ports/SerialTypes.h"

struct pollfd;

enum class TCommWait {
    cwEvent,   // a watched line event occurred (or, for WaitWritable, the line takes bytes)
    cwWoken,   // one of the caller's events is set
    cwTimeout, // the time-out passed
    cwFailed,  // the device failed or is gone; errno tells why
};

class TSerialDevice {
public:
    TSerialDevice();
    ~TSerialDevice();
    TSerialDevice(const TSerialDevice&) = delete;
    TSerialDevice& operator=(const TSerialDevice&) = delete;

    // Opens the device the formed name maps to (PortNames.h) for exclusive use. ENOENT when
    // there is no such device, EBUSY when another open holds it. When the name is refused
    // for a reason of its own (a port folder not trusted, a device of another user),
    // Refusal() tells it in one line starting with the name.
    bool Open(const std::string& formedName);
    const std::string& Refusal() const { return FRefusal; }
    void Close();
    bool IsOpen() const { return FFd.load() >= 0; }
    int Handle() const { return FFd.load(); }
    std::string DevicePath() const;

    bool GetCommState(TDCB& dcb);
    bool SetCommState(const TDCB& dcb);
    // The input queue holds `inQueue` bytes; the output queue is the kernel's own, its size
    // only checked (the caller keeps pending output of that size). ENOMEM for sizes beyond
    // what a serial line can use.
    bool SetupComm(uint32_t inQueue, uint32_t outQueue);
    bool GetCommTimeouts(TCommTimeouts& timeouts);
    bool SetCommTimeouts(const TCommTimeouts& timeouts);
    bool GetCommMask(uint32_t& mask);
    bool SetCommMask(uint32_t mask);

    // Blocks until a watched line event (reported in `evtMask`), until one of `wake` is set
    // (its index in `wokenIndex`), or until the device fails. New received bytes are
    // reported once: bytes that stay unread raise no further event. A device that hung up
    // fails at once, every time.
    TCommWait WaitCommEvent(uint32_t& evtMask, std::span<TEvent* const> wake,
                            int* wokenIndex = nullptr);

    // Fetches and clears the line-error bits and reads the queue counts.
    bool ClearCommError(uint32_t& errors, TComStat* stat);
    // Takes up to `count` bytes already queued; never waits.
    bool ReadFile(void* buf, uint32_t count, uint32_t& read);
    // Writes what the line takes now. Nothing taken: false with errno EAGAIN (pending;
    // wait with WaitWritable and write again).
    bool WriteFile(const void* buf, uint32_t count, uint32_t& written);
    // Waits until the line takes bytes, one of `wake` is set, or `timeoutMs` passes.
    TCommWait WaitWritable(std::span<TEvent* const> wake, uint32_t timeoutMs,
                           int* wokenIndex = nullptr);
    bool PurgeComm(uint32_t flags);
    bool GetCommModemStatus(uint32_t& status);

    // True once the device reported a hang-up or an I/O error.
    bool Gone() const { return FGone.load(); }
    // Gone(), asking the descriptor (without waiting) when nothing has noticed it yet, so
    // the first write after an unplug already knows.
    bool CheckGone();
    // Returns of the poll() inside WaitCommEvent, for tests that watch for busy loops.
    uint64_t WaitWakeups() const { return FWakeups.load(); }

private:
    void DrainLocked();
    void DrainForQueryLocked();
    bool DescriptorSurelyEmptyLocked() const;
    void CheckOutQueueLocked(TComStat& stat);
    void EnqueueLocked(const uint8_t* data, size_t count);
    void CheckCountersLocked();
    void CheckModemLocked();
    void CheckTxEmptyLocked();
    bool NeedsPollingLocked() const;
    void KickLocked();
    void ClearKick();
    void ApplyControlLines(const TDCB& dcb);
    void ResetStateLocked();
    void MarkGone();
    std::optional<TCommWait> WokenOrGone(const std::vector<pollfd>& fds, size_t first,
                                         int* wokenIndex);

    mutable std::mutex FLock;
    std::atomic<int> FFd{-1};
    int FKick = -1; // eventfd: wakes a line-event wait when another thread recorded an event
    std::string FPath;
    std::string FRefusal;
    std::atomic<bool> FGone{false};
    std::atomic<uint64_t> FWakeups{0};

    TDCB FDcb;
    TCommTimeouts FTimeouts;
    uint32_t FMask = 0;
    uint32_t FEvents = 0; // events recorded and not yet reported by a wait
    uint32_t FErrors = 0; // line errors not yet fetched

    std::vector<uint8_t> FQueue; // ring of the queue's capacity
    size_t FHead = 0;
    size_t FCount = 0;

    bool FCountersSupported = false;
    int FCounters[5] = {}; // frame, overrun, parity, break, buffer overrun
    bool FModemSupported = false;
    int FModemLast = 0;
    bool FTxPending = false;

    bool FKickPending = false;   // the eventfd holds a kick not yet taken
    bool FWaiterParked = false;  // a line-event wait sits in poll() on the descriptor
    bool FSeenEmpty = false;     // the last drain left the descriptor empty, at FSeenEmptyAt
    int64_t FSeenEmptyAt = 0;    // steady-clock microseconds
    bool FOutQueueEmpty = false; // the kernel's output queue was empty and nothing written since
};
