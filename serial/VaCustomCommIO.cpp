// Receive path, write path and event dispatch of the serial port component.
#include <cerrno>
#include <mutex>

#include "VaCommEventThread.h"
#include "VaCommWriteThread.h"
#include "VaCustomComm.h"
#include "VaMessages.h"
#include "platform/ErrorDisplay.h"
#include "platform/Tick.h"
#include "ports/SerialDevice.h"

// ---- status and modem lines

TVaCommStatus TVaCustomComm::GetCommStatus() {
    std::lock_guard<TCriticalSection> g(FGlobalSection);
    TVaCommStatus status;
    if (Active()) {
        Watch(FHandle->ClearCommError(status.Errors, &status.Status), sVaStatistics);
    }
    return status;
}

bool TVaCustomComm::ClearLineErrors() {
    bool result = false;
    GuardedCall([this, &result] {
        const TVaCommStatus status = GetCommStatus();
        result = status.Errors != 0;
        if (result && OnError) {
            OnError(this, static_cast<int>(status.Errors));
        }
    });
    return result;
}

bool TVaCustomComm::ModemLine(uint32_t bit) {
    std::lock_guard<TCriticalSection> g(FGlobalSection);
    uint32_t status = 0;
    return Active() && FHandle->GetCommModemStatus(status) && (status & bit) != 0;
}

bool TVaCustomComm::CTS() {
    return ModemLine(MS_CTS_ON);
}
bool TVaCustomComm::DSR() {
    return ModemLine(MS_DSR_ON);
}
bool TVaCustomComm::RING() {
    return ModemLine(MS_RING_ON);
}
bool TVaCustomComm::RLSD() {
    return ModemLine(MS_RLSD_ON);
}

// ---- receive path

int TVaCustomComm::ReadBufUsed() {
    if (!Active()) {
        return 0;
    }
    return static_cast<int>(GetCommStatus().Status.cbInQue);
}

int TVaCustomComm::UARTReadBufUsed() {
    return ReadBufUsed();
}

int TVaCustomComm::UARTWriteBufUsed() {
    if (!Active()) {
        return 0;
    }
    return static_cast<int>(GetCommStatus().Status.cbOutQue);
}

int TVaCustomComm::ReadBufFree() {
    if (!Active()) {
        return 0;
    }
    return FBuffers.ReadSize() - ReadBufUsed();
}

// Reads are immediate: the device layer hands over what is queued and never leaves a
// request outstanding, so no later completion can write into the caller's memory.
int TVaCustomComm::ReadBuf(void* Buf, int Count) {
    if (!Active() || Count <= 0) {
        return 0;
    }
    std::lock_guard<TCriticalSection> g(FGlobalSection);
    uint32_t read = 0;
    if (!FHandle->ReadFile(Buf, static_cast<uint32_t>(Count), read)) {
        Error(sVaReadError);
    }
    return static_cast<int>(read);
}

bool TVaCustomComm::ReadChar(uint8_t& Ch) {
    uint8_t byte = 0;
    if (ReadBuf(&byte, 1) != 1) {
        return false;
    }
    Ch = byte;
    return true;
}

bool TVaCustomComm::ReadChar(char& Ch) {
    uint8_t byte = 0;
    if (!ReadChar(byte)) {
        return false;
    }
    Ch = static_cast<char>(byte);
    return true;
}

std::string TVaCustomComm::ReadText() {
    const int count = ReadBufUsed();
    if (count <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(count), '\0');
    text.resize(static_cast<size_t>(ReadBuf(text.data(), count)));
    return text;
}

void TVaCustomComm::PurgeBuffers(uint32_t Mode) {
    if (!Active()) {
        return;
    }
    std::lock_guard<TCriticalSection> g(FGlobalSection);
    if (Mode != (PURGE_RXABORT | PURGE_RXCLEAR) && FWriteThread) {
        // Hand-overs run while the flush is acknowledged; one of them may close the port.
        const std::shared_ptr<TVaCommWriteThread> thread = FWriteThread;
        thread->PurgeWrite();
        if (!Active()) {
            return;
        }
    }
    Watch(FHandle->PurgeComm(Mode), sVaClearBuffers);
}

void TVaCustomComm::PurgeRead() {
    PurgeBuffers(PURGE_RXABORT | PURGE_RXCLEAR);
}
void TVaCustomComm::PurgeWrite() {
    PurgeBuffers(PURGE_TXABORT | PURGE_TXCLEAR);
}
void TVaCustomComm::PurgeReadWrite() {
    PurgeBuffers(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

// ---- write path

// A device that went away is a closed port for writes: nothing is queued, nothing raised.
int TVaCustomComm::WriteBuf(const void* Buf, int Count) {
    if (!Active() || Count <= 0 || FHandle->CheckGone()) {
        return 0;
    }
    if (FWriteThread) {
        const uint32_t timeout = static_cast<uint32_t>(FBuffers.WriteTimeout());
        switch (FWriteThread->WriteData(Buf, Count, timeout, static_cast<bool>(OnTxEmpty))) {
        case TWriteDataResult::wdQueued:
            return Count;
        case TWriteDataResult::wdGone:
            return 0;
        case TWriteDataResult::wdFull:
            break;
        }
        throw EVaCommError(sVaBufferFull);
    }
    return DirectWriteBuf(static_cast<const uint8_t*>(Buf), Count);
}

// Writes from the caller's thread, waiting up to WriteTimeout for the line to take the
// bytes. Returns how many it took; bytes taken before the time-out ran out count too.
int TVaCustomComm::DirectWriteBuf(const uint8_t* buf, int count) {
    std::lock_guard<TCriticalSection> g(FWriteSection);
    const uint32_t timeout = static_cast<uint32_t>(FBuffers.WriteTimeout());
    const uint32_t start = GetTickCount();
    int total = 0;
    while (total < count) {
        uint32_t written = 0;
        if (FHandle->WriteFile(buf + total, static_cast<uint32_t>(count - total), written)) {
            total += static_cast<int>(written);
            continue;
        }
        if (FHandle->Gone()) {
            break; // what went out before the device went away still counts
        }
        if (errno != EAGAIN) {
            Error(sVaWriteError);
        }
        const uint32_t elapsed = TicksBetween(start, GetTickCount());
        if (elapsed >= timeout ||
            FHandle->WaitWritable({}, timeout - elapsed) == TCommWait::cwTimeout) {
            break;
        }
    }
    return total;
}

bool TVaCustomComm::WriteChar(uint8_t Ch) {
    return WriteBuf(&Ch, 1) == 1;
}

bool TVaCustomComm::WriteText(const std::string& s) {
    return WriteBuf(s.data(), static_cast<int>(s.size())) == static_cast<int>(s.size());
}

int TVaCustomComm::WriteBufUsed() {
    if (!Active()) {
        return 0;
    }
    if (FWriteThread) {
        return FWriteThread->Used();
    }
    return static_cast<int>(GetCommStatus().Status.cbOutQue);
}

int TVaCustomComm::WriteBufFree() {
    if (!Active()) {
        return 0;
    }
    return FBuffers.WriteSize() - WriteBufUsed();
}

// ---- event dispatch (UI thread)

void TVaCustomComm::DispatchEvents(uint32_t EvtMask) {
    if ((EvtMask & EV_RXCHAR) != 0) {
        HandleDataEvent();
        EvtMask &= ~EV_RXCHAR;
    }
    if (EvtMask != 0) {
        HandleLineEvent(EvtMask);
    }
}

void TVaCustomComm::HandleDataEvent() {
    const int count = ReadBufUsed();
    if (count <= 0) {
        return;
    }
    // The bytes stay queued until the handler reads them.
    if (OnRxChar) {
        OnRxChar(this, count);
    }
}

void TVaCustomComm::HandleLineEvent(uint32_t EvtMask) {
    if ((EvtMask & EV_ERR) != 0) {
        ClearLineErrors();
    }
    const struct {
        uint32_t bit;
        TVaNotifyEvent TVaCustomComm::*handler;
    } order[] = {
        {EV_RXFLAG, &TVaCustomComm::OnRxFlag},     {EV_CTS, &TVaCustomComm::OnCts},
        {EV_DSR, &TVaCustomComm::OnDsr},           {EV_RING, &TVaCustomComm::OnRing},
        {EV_RLSD, &TVaCustomComm::OnRlsd},         {EV_TXEMPTY, &TVaCustomComm::OnTxEmpty},
        {EV_BREAK, &TVaCustomComm::OnBreak},       {EV_PERR, &TVaCustomComm::OnPErr},
        {EV_RX80FULL, &TVaCustomComm::OnRx80Full}, {EV_EVENT1, &TVaCustomComm::OnEvent1},
        {EV_EVENT2, &TVaCustomComm::OnEvent2},
    };
    for (const auto& entry : order) {
        if ((EvtMask & entry.bit) != 0 && this->*entry.handler) {
            (this->*entry.handler)(this);
        }
    }
}
