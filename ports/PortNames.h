#pragma once
// Maps the formed port name (COM1, or a path) to a device node:
//  1. a name starting with '/' is a path and used as it is;
//  2. otherwise an entry of that name in the port directory (a symbolic link to a device),
//     while that folder is trusted (PortDirectory.h); the entry is reached through the
//     folder's open descriptor;
//  3. otherwise, when the port directory has a missing step, COMn is the n-th serial device
//     present: /dev/ttyUSB*, then /dev/ttyACM*, then /dev/ttyS*, each with real hardware
//     behind it, in numeric order within each group, the active system console left out.
// A port directory that exists but is refused maps no COM name at all: the name fails with
// the folder's problem, never falls through to a device present.
#include <memory>
#include <string>
#include <vector>

class TPortFolderAccess;

// Where a formed name leads.
struct TPortLocation {
    std::string Path; // the device node, or the port-directory entry (folder/COMn)
    // For a port-directory entry: the trusted folder, held open, and the entry's name in it.
    std::shared_ptr<TPortFolderAccess> Folder;
    std::string Entry;
    // Why the name maps to nothing although it might have: "COM1: port folder ... ignored: ..."
    std::string Refusal;
};

// Returns 0 and the location; ENOENT when nothing matches; EPERM with `Refusal` set when the
// port directory is refused.
int LocatePort(const std::string& formedName, TPortLocation& where);

// Opens what LocatePort found with open(2) `flags`: a port-directory entry is resolved from the
// folder checked a moment ago, never by its path again, so the folder cannot be swapped in
// between. The descriptor, or -1 with errno.
int OpenPortLocation(const TPortLocation& where, int flags);

// LocatePort's path alone. Returns 0 and the node in `devicePath`, or the error.
int ResolvePortName(const std::string& formedName, std::string& devicePath);

// The serial devices present, in COM order. `sysRoot` is the tty class folder of sysfs and
// `devRoot` the device folder; both can be replaced for tests. The ttys named in
// <sysRoot>/console/active (the system console) are left out.
std::vector<std::string> PresentSerialDevices(const std::string& sysRoot = "/sys/class/tty",
                                              const std::string& devRoot = "/dev");

// The USB serial devices present (ttyUSB*, ttyACM*; never ttyS*), in COM order.
std::vector<std::string> PresentUsbSerialDevices(const std::string& sysRoot = "/sys/class/tty",
                                                 const std::string& devRoot = "/dev");

// "COM3" -> 3; anything else (COM, COM0, COMx, LPT1) -> 0.
int ComPortNumber(const std::string& formedName);

// A device path as a device-name pattern that formats to exactly that path: each '%' doubled.
std::string LiteralDeviceName(const std::string& path);
