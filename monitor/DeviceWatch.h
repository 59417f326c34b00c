#pragma once
// Watch over the device of the open port. When the device disappears (an adapter unplugged, a
// line hung up) its dead descriptor is closed at once and only its identity is kept
// (PortIdentity.h); the watch then looks, each time it is asked, whether that same device is
// back (never whatever else the COM number or the old node maps to meanwhile). When it is,
// the port is opened again through the ordinary Open, with the same settings, on that very
// device. The name the user chose (COM1) stays the
// port's name; only for the time the reopened port is open does the component's device name
// hold the device's own path.
#include <string>

#include "ports/PortIdentity.h"

class TVaCustomComm;

class TDeviceWatch {
public:
    enum class TChange { None, Gone, Reconnected };

    explicit TDeviceWatch(TVaCustomComm& comm);

    // The serial component's open and close notifications.
    void PortOpened();
    void PortClosed();
    // One look at the device: what changed since the last look.
    TChange Check();
    // Gives up a lost device: the user is choosing a port.
    void Forget();

    // A port the user opened is being watched, or its lost device is being waited for.
    bool Active() const { return FState != TState::Idle; }
    // The device is gone and the watch waits for it.
    bool Waiting() const { return FState == TState::Waiting; }
    const TPortIdentity& Identity() const { return FIdentity; }
    // The port's name as the user knows it (COM1).
    std::string PortName() const;

private:
    enum class TState { Idle, Watching, Waiting };
    void Release();
    bool Reopen(const TReturnedPort& returned);
    void RestoreDeviceName();

    TVaCustomComm& FComm;
    TState FState = TState::Idle;
    TPortIdentity FIdentity;
    bool FReopening = false;
    bool FReleasing = false;
    bool FNameReplaced = false;
    std::string FUserDeviceName;
};
