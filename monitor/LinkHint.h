#pragma once
// What the link lamps say, in the user's words: the link changes and the OFFLINE lamp's hint.
#include <string>

// What the link lamps say. `Online`: the controller answers; `Offline`: the port is open but
// nothing arrives; `DeviceGone`: the opened device has disappeared (unplugged, hung up) and
// the program waits for it to return; `Reconnected`: that device is back and open again.
enum class TLinkStatus { Online, Offline, DeviceGone, Reconnected };

// The word for a link change: ONLINE, OFFLINE, DEVICE GONE, RECONNECTED.
std::string LinkStatusText(TLinkStatus status);

enum class TOfflineReason {
    NoAnswer,   // the port is open but the controller does not answer
    DeviceGone, // the port's device has disappeared; the program waits for it
    PortClosed  // no port is open
};

// `portName` is the name the user chose (COM1); `device` the node it stood for (may be empty).
std::string OfflineHint(TOfflineReason reason, const std::string& portName,
                        const std::string& device);
