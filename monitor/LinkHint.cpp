#include "LinkHint.h"

std::string LinkStatusText(TLinkStatus status) {
    switch (status) {
    case TLinkStatus::Online:
        return "ONLINE";
    case TLinkStatus::Offline:
        return "OFFLINE";
    case TLinkStatus::DeviceGone:
        return "DEVICE GONE";
    case TLinkStatus::Reconnected:
        return "RECONNECTED";
    }
    return "?";
}

std::string OfflineHint(TOfflineReason reason, const std::string& portName,
                        const std::string& device) {
    switch (reason) {
    case TOfflineReason::NoAnswer:
        return "The controller on " + portName + " does not answer.";
    case TOfflineReason::DeviceGone: {
        // A port opened by its node path is named once.
        const std::string named =
            device.empty() || device == portName ? portName : portName + " (" + device + ")";
        return named + " is gone. The program reconnects when it returns.";
    }
    case TOfflineReason::PortClosed:
        return "No port is open.";
    }
    return {};
}
