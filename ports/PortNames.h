#pragma once
// Maps the formed port name (COM1, or a path) to a device node:
//  1. a name starting with '/' is a path and used as it is;
//  2. otherwise an entry of that name in the port directory (a symbolic link to a device),
//     while that folder is safe to follow (PortDirectory.h);
//  3. otherwise COMn is the n-th serial device present: /dev/ttyUSB*, then /dev/ttyACM*,
//     then /dev/ttyS*, each with real hardware behind it, in numeric order within each group.
#include <string>
#include <vector>

// Returns 0 and the node in `devicePath`, or ENOENT when nothing matches.
int ResolvePortName(const std::string& formedName, std::string& devicePath);

// The serial devices present, in COM order. `sysRoot` is the tty class folder of sysfs and
// `devRoot` the device folder; both can be replaced for tests.
std::vector<std::string> PresentSerialDevices(const std::string& sysRoot = "/sys/class/tty",
                                              const std::string& devRoot = "/dev");

// "COM3" -> 3; anything else (COM, COM0, COMx, LPT1) -> 0.
int ComPortNumber(const std::string& formedName);

// A device path as a device-name pattern that formats to exactly that path: each '%' doubled.
std::string LiteralDeviceName(const std::string& path);
