#include "DeviceWatch.h"

#include <exception>
#include <sys/stat.h>

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
    if (!FReopening && !FReleasing) {
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
            Release();
            FState = TState::Waiting;
            return TChange::Gone;
        }
        return TChange::None;
    case TState::Waiting:
        if (const auto returned = FindReturnedPort(FIdentity); returned && Reopen(*returned)) {
            FState = TState::Watching;
            return TChange::Reconnected;
        }
        return TChange::None;
    }
    return TChange::None;
}

// The dead descriptor goes at once: a USB serial driver frees the node only at the last
// close, and a held node would make the adapter come back under the next number.
void TDeviceWatch::Release() {
    const TScopedFlag releasing(FReleasing);
    FComm.Close();
}

// Opens the identified device by the path found for it, so that the ordinary Open cannot map
// the COM number to anything else, and keeps it only when the descriptor leads to the very
// device that was checked. A device that is not ready yet (permissions still being set, held
// elsewhere) is tried again at the next look.
bool TDeviceWatch::Reopen(const TReturnedPort& returned) {
    const TScopedFlag reopening(FReopening);
    if (FComm.Active()) {
        FComm.Close();
    }
    RestoreDeviceName();
    if (FComm.Active()) {
        return false; // a close further up the call chain still holds the port
    }
    FUserDeviceName = FComm.DeviceName();
    FComm.SetDeviceName(LiteralDeviceName(returned.Path));
    FNameReplaced = true;
    try {
        FComm.Open();
    } catch (const std::exception&) {
        RestoreDeviceName();
        return false;
    }
    struct stat st {};
    if (::fstat(FComm.Handle(), &st) != 0 || st.st_rdev != returned.Device) {
        FComm.Close(); // the name was pointed elsewhere between the look and the open
        return false;
    }
    FIdentity.Node = IdentifyOpenPort(returned.Path, FComm.Handle()).Node;
    return true;
}

void TDeviceWatch::RestoreDeviceName() {
    if (FNameReplaced && !FComm.Active()) {
        FComm.SetDeviceName(FUserDeviceName);
        FNameReplaced = false;
    }
}
