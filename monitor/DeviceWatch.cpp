#include "DeviceWatch.h"

#include <exception>

#include "platform/ScopedFlag.h"
#include "ports/PortNames.h"
#include "serial/VaCustomComm.h"

TDeviceWatch::TDeviceWatch(TVaCustomComm& comm) : FComm(comm) {}

void TDeviceWatch::PortOpened() {
    if (FReopening) {
        return; // the same device again: its identity stands
    }
    FIdentity = IdentifyOpenPort(FComm.GetDeviceName(), FComm.Handle());
    FState = FIdentity.Kind == TPortIdentityKind::None ? TState::Idle : TState::Watching;
}

void TDeviceWatch::PortClosed() {
    RestoreDeviceName();
    if (!FReopening) {
        FState = TState::Idle;
    }
}

void TDeviceWatch::Forget() {
    FState = TState::Idle;
}

std::string TDeviceWatch::PortName() const {
    return FState != TState::Idle ? FIdentity.FormedName : FComm.GetDeviceName();
}

TDeviceWatch::TChange TDeviceWatch::Check() {
    switch (FState) {
    case TState::Idle:
        return TChange::None;
    case TState::Watching:
        if (!FComm.Active()) {
            FState = TState::Idle;
            return TChange::None;
        }
        if (FComm.DeviceGone()) {
            FState = TState::Waiting;
            return TChange::Gone;
        }
        return TChange::None;
    case TState::Waiting:
        if (PortPresent(FIdentity) && Reopen()) {
            FState = TState::Watching;
            return TChange::Reconnected;
        }
        return TChange::None;
    }
    return TChange::None;
}

// Releases the dead handle and opens the identified device by its own path, so that the
// ordinary Open cannot map the COM number to anything else. A device that is not ready yet
// (permissions still being set, held elsewhere) is tried again at the next look.
bool TDeviceWatch::Reopen() {
    const TScopedFlag reopening(FReopening);
    if (FComm.Active()) {
        FComm.Close();
    }
    RestoreDeviceName();
    if (FComm.Active()) {
        return false; // a close further up the call chain still holds the port
    }
    FUserDeviceName = FComm.DeviceName();
    FComm.SetDeviceName(LiteralDeviceName(FIdentity.Path));
    FNameReplaced = true;
    try {
        FComm.Open();
    } catch (const std::exception&) {
        RestoreDeviceName();
        return false;
    }
    FIdentity.Node = IdentifyOpenPort(FIdentity.Path, FComm.Handle()).Node;
    return true;
}

void TDeviceWatch::RestoreDeviceName() {
    if (FNameReplaced && !FComm.Active()) {
        FComm.SetDeviceName(FUserDeviceName);
        FNameReplaced = false;
    }
}
