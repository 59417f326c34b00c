#pragma once
// Which device a serial port was opened on, and whether that same device is there again after
// it went away (an adapter unplugged and plugged in, a line hung up and back). A device is
// known by what stays the same across its disappearance:
//  - the entry of the port directory it was found under (COM1 -> a device node);
//  - for an adapter found among the serial devices present, its /dev/serial/by-id name, where
//    it has one (the node number may change when it comes back);
//  - otherwise its device node path.
// Whatever else the COM number maps to meanwhile is never taken for it.
#include <string>

enum class TPortIdentityKind { None, PortDirectory, ById, NodePath };

struct TPortIdentity {
    TPortIdentityKind Kind = TPortIdentityKind::None;
    std::string FormedName; // the name the port was opened under: COM1, or a path
    std::string Path;       // absolute path that reaches this device and nothing else
    std::string Node;       // the device node it was on when identified (/dev/ttyUSB0)
};

// Where the names are looked up; the defaults are the program's own folders.
struct TPortIdentityFolders {
    std::string PortDirectory; // empty: PortDirectory()
    std::string ById = "/dev/serial/by-id";
};

// The identity of the device open on `fd`, which was opened under `formedName`. Kind None when
// `fd` is not an open character device.
TPortIdentity IdentifyOpenPort(const std::string& formedName, int fd,
                               const TPortIdentityFolders& folders = {});

// The first name under `folder` (a by-id folder), in name order, that leads to the character
// device at `devicePath`, as a path; empty when none does.
std::string ByIdPath(const std::string& folder, const std::string& devicePath);

// True when the identified device can be opened again: its path leads to a character device
// (and, for a port-directory entry, that folder is still safe to follow).
bool PortPresent(const TPortIdentity& identity);
