#pragma once
// The serial port component: settings, open and close, the receive path (event thread,
// OnRxChar, reads and purges) and the write path (write thread, pending-output buffer).
// All operations are called on the UI thread; the component's threads hand their
// notifications to the UI thread and wait until they have run.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "VaBuffers.h"
#include "VaCommError.h"
#include "VaEventChars.h"
#include "VaFlowControl.h"
#include "VaSettingsStore.h"
#include "VaTypes.h"
#include "platform/CriticalSection.h"
#include "platform/Thread.h"
#include "ports/SerialTypes.h"

class TSerialDevice;
class TVaCommEventThread;
class TVaCommWriteThread;
class TVaCustomComm;

using TVaNotifyEvent = std::function<void(TVaCustomComm* Sender)>;
using TVaRxCharEvent = std::function<void(TVaCustomComm* Sender, int Count)>;
using TVaErrorEvent = std::function<void(TVaCustomComm* Sender, int Errors)>;
using TVaRxBufEvent = std::function<void(TVaCustomComm* Sender, const uint8_t* Data, int Count)>;

// Line-error bits (cleared by fetching them) and the queue counts.
struct TVaCommStatus {
    uint32_t Errors = 0;
    TComStat Status;
};

class TVaCustomComm {
public:
    TVaCustomComm();
    virtual ~TVaCustomComm();
    TVaCustomComm(const TVaCustomComm&) = delete;
    TVaCustomComm& operator=(const TVaCustomComm&) = delete;

    // Open and close.
    void Open();
    void Close();
    bool Active() const;
    // True while the port is open on a device that has gone away (hung up, unplugged): the
    // port stays Active until closed, but nothing reaches the line.
    bool DeviceGone() const;
    void Loaded();
    // The open device's descriptor, -1 while closed.
    int Handle() const;
    // The device name formed from DeviceName and PortNum (COM1): the name in messages.
    std::string GetDeviceName() const;

    // Settings.
    bool AutoOpen() const { return FAutoOpen; }
    void SetAutoOpen(bool value) { FAutoOpen = value; }
    TVaBaudrate Baudrate() const { return FBaudrate; }
    void SetBaudrate(TVaBaudrate value);
    TVaParity Parity() const { return FParity; }
    void SetParity(TVaParity value);
    TVaDatabits Databits() const { return FDatabits; }
    void SetDatabits(TVaDatabits value);
    TVaStopbits Stopbits() const { return FStopbits; }
    void SetStopbits(TVaStopbits value);
    TVaEventChars& EventChars() { return FEventChars; }
    void SetEventChars(const TVaEventChars& value) { FEventChars.Assign(value); }
    TVaFlowControl& FlowControl() { return FFlowControl; }
    void SetFlowControl(const TVaFlowControl& value) { FFlowControl.Assign(value); }
    TVaCommOptions Options() const { return FOptions; }
    void SetOptions(TVaCommOptions value);
    TVaPortInt PortNum() const { return FPortNum; }
    void SetPortNum(TVaPortInt value);
    const std::string& DeviceName() const { return FDeviceName; }
    void SetDeviceName(const std::string& value);
    TVaCommEvents MonitorEvents() const { return FMonitorEvents; }
    void SetMonitorEvents(TVaCommEvents value);
    TVaBuffers& Buffers() { return FBuffers; }
    void SetBuffers(const TVaBuffers& value);
    TThreadPriority EventPriority() const { return FEventPriority; }
    void SetEventPriority(TThreadPriority value);
    TThreadPriority WritePriority() const { return FWritePriority; }
    void SetWritePriority(TThreadPriority value);
    bool DirectWrite() const { return FDirectWrite; }
    void SetDirectWrite(bool value);
    bool UpdateDCB() const { return FUpdateDCB; }
    void SetUpdateDCB(bool value);
    int32_t UserBaudrate() const { return FUserBaudrate; }
    void SetUserBaudrate(int32_t value);
    TSettingsStore& SettingsStore() { return FSettingsStore; }
    void SetSettingsStore(const TSettingsStore& value) { FSettingsStore = value; }
    bool SyncThreads() const { return FSyncThreads; }
    void SetSyncThreads(bool value) { FSyncThreads = value; }
    std::string Version() const { return "1.9.5.1"; }
    void SetVersion(const std::string&) {}
    // The event mask given to the device at the last Open.
    uint32_t EventMask() const { return FEventMask; }

    // Modem-line readings (all False where the device has no modem lines).
    bool CTS();
    bool DSR();
    bool RING();
    bool RLSD();

    // Receive path.
    int ReadBufUsed();
    int ReadBufFree();
    int UARTReadBufUsed();
    int UARTWriteBufUsed();
    int ReadBuf(void* Buf, int Count);
    bool ReadChar(uint8_t& Ch);
    bool ReadChar(char& Ch);
    std::string ReadText();
    void PurgeRead();
    void PurgeWrite();
    void PurgeReadWrite();
    TVaCommStatus GetCommStatus();
    bool ClearLineErrors();

    // Write path.
    int WriteBuf(const void* Buf, int Count);
    bool WriteChar(uint8_t Ch);
    bool WriteText(const std::string& s);
    int WriteBufUsed();
    int WriteBufFree();

    // Locks; when both are needed the global lock is taken first.
    void GlobalLock() { FGlobalSection.Enter(); }
    void GlobalUnlock() { FGlobalSection.Leave(); }
    void WriteLock() { FWriteSection.Enter(); }
    void WriteUnlock() { FWriteSection.Leave(); }

    // Threads of the open port, for tests and diagnostics.
    bool HasEventThread() const { return FEventThread != nullptr; }
    bool HasWriteThread() const { return FWriteThread != nullptr; }
    // Loop passes of the event thread plus returns of its device waits since Open.
    uint64_t EventThreadWakeups() const;

    // Called by the component's threads (on the UI thread when SyncThreads is True).
    void DispatchEvents(uint32_t EvtMask);
    virtual void HandleDataEvent();
    virtual void HandleLineEvent(uint32_t EvtMask);

    TVaNotifyEvent OnOpen;
    TVaNotifyEvent OnClose;
    TVaNotifyEvent OnCts;
    TVaNotifyEvent OnDsr;
    TVaNotifyEvent OnRlsd;
    TVaNotifyEvent OnRing;
    TVaNotifyEvent OnBreak;
    TVaErrorEvent OnError;
    TVaRxCharEvent OnRxChar;
    TVaNotifyEvent OnRxFlag;
    TVaRxBufEvent OnRxBuf;
    TVaNotifyEvent OnTxEmpty;
    TVaNotifyEvent OnPErr;
    TVaNotifyEvent OnRx80Full;
    TVaNotifyEvent OnEvent1;
    TVaNotifyEvent OnEvent2;

protected:
    virtual void CreateHandle();
    void DestroyHandle();
    virtual void CreateThreads();
    void DestroyThreads();
    void SetDCB();
    void UpdateBuffers();
    void UpdateTimeouts();
    void UpdateEventMask();
    void CheckOpen() const;
    [[noreturn]] void Error(const std::string& Msg) const;
    void Watch(bool B, const std::string& Msg) const;
    void DoOpen();
    void DoClose();
    void PurgeBuffers(uint32_t Mode);
    void BuffersChanged();
    void EventCharsChanged() { SetDCB(); }
    void FlowControlChanged() { SetDCB(); }

private:
    TDCB BuildDCB(const TDCB& current) const;
    void StopEventThread();
    void ReleaseRetiredThreads();
    bool ModemLine(uint32_t bit);
    int DirectWriteBuf(const uint8_t* buf, int count);

    std::unique_ptr<TSerialDevice> FHandle;
    TCriticalSection FWriteSection;
    TCriticalSection FGlobalSection;
    std::unique_ptr<TVaCommEventThread> FEventThread;
    // Shared: a purge keeps the thread it waits for alive even if a hand-over it serves
    // meanwhile closes the port.
    std::shared_ptr<TVaCommWriteThread> FWriteThread;
    // Threads stopped from inside one of their own notifications; they end as soon as the
    // notification returns and are released later.
    std::vector<std::shared_ptr<TThread>> FRetired;
    // Event threads stopped from inside one of their own notifications. They have ended, but
    // the notification still runs further up the call chain and belongs to them.
    std::vector<std::unique_ptr<TVaCommEventThread>> FRetiredEvent;
    uint32_t FEventMask = 0;
    bool FAutoOpen = false;
    TVaPortInt FPortNum = 0;
    std::string FDeviceName = "COM%d";
    TVaCommEvents FMonitorEvents{ceError, ceRxChar, ceTxEmpty};
    TVaBuffers FBuffers;
    TThreadPriority FEventPriority = TThreadPriority::tpNormal;
    TThreadPriority FWritePriority = TThreadPriority::tpHighest;
    bool FDirectWrite = false;
    TVaBaudrate FBaudrate = br1200;
    TVaParity FParity = paNone;
    TVaDatabits FDatabits = db8;
    TVaStopbits FStopbits = sb1;
    TVaCommOptions FOptions;
    TVaFlowControl FFlowControl;
    TVaEventChars FEventChars;
    bool FUpdateDCB = true;
    int32_t FUserBaudrate = 0;
    bool FSyncThreads = true;
    TSettingsStore FSettingsStore;
    bool FClosing = false;
    bool FDestroying = false;
};
