// Settings, open and close of the serial port component.
#include "VaCustomComm.h"

#include <cerrno>
#include <mutex>

#include "VaCommEventThread.h"
#include "VaCommWriteThread.h"
#include "VaMessages.h"
#include "platform/ErrorDisplay.h"
#include "platform/ScopedFlag.h"
#include "platform/Tick.h"
#include "ports/SerialDevice.h"

namespace {
constexpr uint32_t kClosePauseMs = 300;
}

TVaCustomComm::TVaCustomComm() {
    FBuffers.OnChange = [this](TVaPersistent*) { BuffersChanged(); };
    FEventChars.OnChange = [this](TVaPersistent*) { EventCharsChanged(); };
    FFlowControl.OnChange = [this](TVaPersistent*) { FlowControlChanged(); };
}

TVaCustomComm::~TVaCustomComm() {
    FDestroying = true;
    Close();
    ReleaseRetiredThreads();
}

bool TVaCustomComm::Active() const {
    return FHandle != nullptr;
}

bool TVaCustomComm::DeviceGone() const {
    return FHandle != nullptr && FHandle->Gone();
}

int TVaCustomComm::Handle() const {
    return FHandle ? FHandle->Handle() : -1;
}

void TVaCustomComm::Loaded() {
    if (FAutoOpen) {
        Open();
    }
}

std::string TVaCustomComm::GetDeviceName() const {
    return VaFormat(FDeviceName, {std::to_string(FPortNum)});
}

// ---- errors

void TVaCustomComm::CheckOpen() const {
    if (Active()) {
        throw EVaCommError(sVaPortOpen);
    }
}

void TVaCustomComm::Error(const std::string& Msg) const {
    const int code = errno;
    throw EVaCommError(VaErrorMessage(Msg, code));
}

void TVaCustomComm::Watch(bool B, const std::string& Msg) const {
    if (!B) {
        Error(Msg);
    }
}

// ---- settings

void TVaCustomComm::SetBaudrate(TVaBaudrate value) {
    if (value == FBaudrate) {
        return;
    }
    FBaudrate = value;
    if (value != brUser) {
        FUserBaudrate = 0;
    }
    SetDCB();
}

void TVaCustomComm::SetUserBaudrate(int32_t value) {
    if (value == FUserBaudrate) {
        return;
    }
    FUserBaudrate = value;
    FBaudrate = brUser;
    SetDCB();
}

void TVaCustomComm::SetParity(TVaParity value) {
    if (value != FParity) {
        FParity = value;
        SetDCB();
    }
}

void TVaCustomComm::SetDatabits(TVaDatabits value) {
    if (value != FDatabits) {
        FDatabits = value;
        SetDCB();
    }
}

void TVaCustomComm::SetStopbits(TVaStopbits value) {
    if (value != FStopbits) {
        FStopbits = value;
        SetDCB();
    }
}

void TVaCustomComm::SetOptions(TVaCommOptions value) {
    if (!(value == FOptions)) {
        FOptions = value;
        SetDCB();
    }
}

void TVaCustomComm::SetPortNum(TVaPortInt value) {
    CheckOpen();
    FPortNum = value < 0 ? 0 : value;
}

void TVaCustomComm::SetDeviceName(const std::string& value) {
    CheckOpen();
    FDeviceName = value;
}

void TVaCustomComm::SetMonitorEvents(TVaCommEvents value) {
    CheckOpen();
    FMonitorEvents = value;
}

void TVaCustomComm::SetDirectWrite(bool value) {
    CheckOpen();
    FDirectWrite = value;
}

void TVaCustomComm::SetUpdateDCB(bool value) {
    CheckOpen();
    FUpdateDCB = value;
}

void TVaCustomComm::SetBuffers(const TVaBuffers& value) {
    CheckOpen();
    FBuffers.Assign(value);
}

void TVaCustomComm::SetEventPriority(TThreadPriority value) {
    if (value != FEventPriority) {
        FEventPriority = value;
        if (FEventThread) {
            FEventThread->SetPriority(value);
        }
    }
}

void TVaCustomComm::SetWritePriority(TThreadPriority value) {
    if (value != FWritePriority) {
        FWritePriority = value;
        if (FWriteThread) {
            FWriteThread->SetPriority(value);
        }
    }
}

void TVaCustomComm::BuffersChanged() {
    CheckOpen();
    UpdateBuffers();
    SetDCB();
}

// ---- configuration of the open device

TDCB TVaCustomComm::BuildDCB(const TDCB& current) const {
    TDCB dcb = current;
    dcb.DCBlength = sizeof(TDCB);
    dcb.BaudRate =
        FBaudrate == brUser ? static_cast<uint32_t>(FUserBaudrate) : VaBaudRates[FBaudrate];
    dcb.ByteSize = VaDataBits[FDatabits];
    dcb.Parity = VaParityCodes[FParity];
    dcb.StopBits = VaStopCodes[FStopbits];
    dcb.XonChar = FEventChars.XonChar();
    dcb.XoffChar = FEventChars.XoffChar();
    dcb.ErrorChar = FEventChars.ErrorChar();
    dcb.EofChar = FEventChars.EofChar();
    dcb.EvtChar = FEventChars.EventChar();
    dcb.XonLim = static_cast<uint16_t>(FBuffers.XonLimit() & 0xFFFF);
    dcb.XoffLim = static_cast<uint16_t>(FBuffers.XoffLimit() & 0xFFFF);
    uint32_t flags = fBinary;
    const TVaFlowControl& fc = FFlowControl;
    flags |= fc.OutCtsFlow() ? fOutxCtsFlow : 0;
    flags |= fc.OutDsrFlow() ? fOutxDsrFlow : 0;
    flags |= fc.XonXoffOut() ? fOutX : 0;
    flags |= fc.XonXoffIn() ? fInX : 0;
    flags |= VaDtrFlags[fc.ControlDtr()] | VaRtsFlags[fc.ControlRts()];
    flags |= fc.DsrSensitivity() ? fDsrSensitivity : 0;
    flags |= fc.TxContinueOnXoff() ? fTXContinueOnXoff : 0;
    for (unsigned i = 0; i < 3; ++i) {
        if (FOptions.Contains(static_cast<TVaCommOption>(i))) {
            flags |= VaOptionFlags[i];
        }
    }
    dcb.Flags = flags;
    return dcb;
}

void TVaCustomComm::SetDCB() {
    if (!Active() || !FUpdateDCB) {
        return;
    }
    TDCB current;
    FHandle->GetCommState(current); // not tested: every field but the reserved ones is set
    Watch(FHandle->SetCommState(BuildDCB(current)), sVaWriteDcb);
}

void TVaCustomComm::UpdateBuffers() {
    if (!Active()) {
        return;
    }
    Watch(FHandle->SetupComm(static_cast<uint32_t>(FBuffers.ReadSize()),
                             static_cast<uint32_t>(FBuffers.WriteSize())),
          sVaInitBuffers);
}

void TVaCustomComm::UpdateTimeouts() {
    if (!Active()) {
        return;
    }
    TCommTimeouts timeouts;
    timeouts.ReadIntervalTimeout = MAXDWORD; // every read returns at once with what is queued
    Watch(FHandle->SetCommTimeouts(timeouts), sVaSetTimeouts);
}

void TVaCustomComm::UpdateEventMask() {
    FEventMask = VaEventMask(FMonitorEvents);
    if (!FDirectWrite) {
        FEventMask &= ~EV_TXEMPTY; // the write thread reports an empty transmitter itself
    }
    if (Active()) {
        Watch(FHandle->SetCommMask(FEventMask), sVaSetEventMask);
    }
}

// ---- open and close

void TVaCustomComm::CreateHandle() {
    const std::string name = GetDeviceName();
    auto device = std::make_unique<TSerialDevice>();
    if (!device->Open(name)) {
        const int code = errno;
        if (!device->Refusal().empty()) {
            throw EVaCommError(device->Refusal());
        }
        if (code == ENOENT) {
            throw EVaCommError(VaFormat(sVaNotFound, {name}));
        }
        throw EVaCommError(VaFormat(sVaCantOpen, {name}) + VaErrorMessage(sVaCantOpenCode, code));
    }
    FHandle = std::move(device);
}

void TVaCustomComm::DestroyHandle() {
    if (FHandle) {
        FHandle->Close();
        FHandle.reset();
    }
}

void TVaCustomComm::CreateThreads() {
    ReleaseRetiredThreads();
    if (FEventMask != 0) {
        FEventThread = std::make_unique<TVaCommEventThread>(this, FHandle.get());
        FEventThread->SetPriority(FEventPriority);
        FEventThread->FSync = FSyncThreads;
        FEventThread->Start();
    }
    if (!FDirectWrite) {
        FWriteThread = std::make_shared<TVaCommWriteThread>(this, FHandle.get(), FWriteSection,
                                                            FBuffers.WriteSize());
        FWriteThread->SetPriority(FWritePriority);
        FWriteThread->FSync = FSyncThreads;
        FWriteThread->Start();
    }
}

// Stops a thread and waits for it to end (serving its hand-overs meanwhile). A thread
// whose notification is running further up this very call chain cannot end before that
// notification returns: it is told to stop and released later.
template <class Owner>
static void StopAndRelease(Owner& thread, std::vector<std::shared_ptr<TThread>>& retired) {
    if (!thread) {
        return;
    }
    thread->StopThread();
    if (thread->Started() && thread->InHandOver()) {
        retired.push_back(std::move(thread));
        return;
    }
    if (thread->Started()) {
        thread->WaitFor();
    }
    thread.reset();
}

// The event thread does not wait for its notification to return, so it can be waited for
// even from inside that notification: it is then out of the device before the device is
// released, and kept until the notification has returned.
void TVaCustomComm::StopEventThread() {
    if (!FEventThread) {
        return;
    }
    FEventThread->StopThread();
    FEventThread->WaitFor();
    if (FEventThread->InHandOver()) {
        FRetiredEvent.push_back(std::move(FEventThread));
    }
    FEventThread.reset();
}

void TVaCustomComm::DestroyThreads() {
    StopEventThread();
    StopAndRelease(FWriteThread, FRetired);
}

void TVaCustomComm::ReleaseRetiredThreads() {
    for (auto& thread : FRetired) {
        thread->WaitFor();
    }
    FRetired.clear();
    std::erase_if(FRetiredEvent, [](const auto& thread) { return !thread->InHandOver(); });
}

void TVaCustomComm::Open() {
    CheckOpen();
    CreateHandle();
    try {
        SetDCB();
        UpdateBuffers();
        UpdateTimeouts();
        UpdateEventMask();
        CreateThreads();
    } catch (...) {
        // No thread may go on waiting on a device that is released.
        DestroyThreads();
        DestroyHandle();
        throw;
    }
    DoOpen();
}

void TVaCustomComm::Close() {
    if (!Active() || FClosing) {
        return;
    }
    // A device that is gone needs no time to settle before the next open: releasing its dead
    // handle should not hold the window for the pause.
    const bool settle = !DeviceGone();
    {
        // Cleared however this block is left: a Close that raised while stopping a thread
        // must not leave the port unclosable.
        const TScopedFlag closing(FClosing);
        {
            std::lock_guard<TCriticalSection> g(FGlobalSection);
            DestroyThreads();
        }
        DestroyHandle();
    }
    DoClose();
    if (settle) {
        Sleep(kClosePauseMs);
    }
}

void TVaCustomComm::DoOpen() {
    if (OnOpen) {
        GuardedCall([this] { OnOpen(this); });
    }
}

void TVaCustomComm::DoClose() {
    if (OnClose && !FDestroying) {
        GuardedCall([this] { OnClose(this); });
    }
}

uint64_t TVaCustomComm::EventThreadWakeups() const {
    uint64_t count = FEventThread ? FEventThread->Wakeups() : 0;
    return count + (FHandle ? FHandle->WaitWakeups() : 0);
}
