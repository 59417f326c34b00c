#pragma once
// The OFFLINE lamp's hint: why the link is down, in the user's words.
#include <string>

enum class TOfflineReason {
    NoAnswer,   // the port is open but the controller does not answer
    DeviceGone, // the port's device has disappeared; the program waits for it
    PortClosed  // no port is open
};

// `portName` is the name the user chose (COM1); `device` the node it stood for (may be empty).
std::string OfflineHint(TOfflineReason reason, const std::string& portName,
                        const std::string& device);
