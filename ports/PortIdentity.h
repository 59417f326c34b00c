#pragma once
// Which device a serial port was opened on, and whether that same device is there again after
// it went away (an adapter unplugged and plugged in, a line hung up and back). A device is
// known by the most stable name it has:
//  - the entry of the port directory it was opened through (COM1 -> a device node);
//  - else its /dev/serial/by-id name, but only when the adapter has a USB serial number
//    (identical adapters without one share a by-id name);
//  - else its /dev/serial/by-path name, the physical socket it is plugged into;
//  - else its device node path.
// This holds however the port was named: a COM number, a by-id link or a plain node path.
// The node number itself may change when the device comes back (a USB serial driver frees
// ttyUSB0 only at the last close; a pseudo-terminal comes back as another /dev/pts/N), and
// whatever else takes the old node or the COM number meanwhile is never taken for it.
#include <optional>
#include <string>
#include <sys/types.h>

enum class TPortIdentityKind { None, PortDirectory, ById, ByPath, NodePath };

// The USB adapter behind a tty, from sysfs (idVendor, idProduct, serial); empty for a device
// that is not on USB.
struct TUsbIdentity {
    std::string Vendor;
    std::string Product;
    std::string Serial;
    bool Known() const { return !Vendor.empty(); }
    bool operator==(const TUsbIdentity&) const = default;
};

struct TPortIdentity {
    TPortIdentityKind Kind = TPortIdentityKind::None;
    std::string FormedName; // the name the port was opened under: COM1, or a path
    std::string Path;       // absolute path that reaches this device and nothing else
    std::string Node;       // the device node it was on when identified (/dev/ttyUSB0)
    TUsbIdentity Usb;       // the adapter, when it is a USB one
    // For a port-directory identity: the folder and the entry's name in it.
    std::string Folder;
    std::string Entry;
};

// Where the names are looked up; the defaults are the system's own folders. The environment
// variable UEGO4100_DEVICE_LINKS (a test and diagnostic hook) names a folder whose by-id and
// by-path subfolders stand in for /dev/serial/by-id and /dev/serial/by-path.
struct TPortIdentityFolders {
    std::string PortDirectory; // empty: PortDirectory()
    std::string ById = DefaultDeviceLinks() + "/by-id";
    std::string ByPath = DefaultDeviceLinks() + "/by-path";
    std::string Sys = "/sys";

    static std::string DefaultDeviceLinks();
};

// The identity of the device open on `fd`, which was opened under `formedName`. Kind None when
// `fd` is not an open character device.
TPortIdentity IdentifyOpenPort(const std::string& formedName, int fd,
                               const TPortIdentityFolders& folders = {});

// The USB adapter of the character device `device`, from `sysRoot` (normally /sys).
TUsbIdentity UsbIdentityOf(dev_t device, const std::string& sysRoot = "/sys");

// The first name under `folder`, in name order, that leads to the character device at
// `devicePath`, as a path; empty when none does.
std::string ByIdPath(const std::string& folder, const std::string& devicePath);

// The identified device, found there again.
struct TReturnedPort {
    std::string Path; // open this path...
    dev_t Device = 0; // ...and it must lead to this device
};
// Looks whether the identified device is back, without opening anything: its name leads to
// a character device again (a port-directory entry only while that folder is trusted), and
// that device is the same adapter (USB vendor, product and serial, where known; for a by-path
// identity the socket is the name itself).
std::optional<TReturnedPort> FindReturnedPort(const TPortIdentity& identity,
                                              const TPortIdentityFolders& folders = {});
bool PortPresent(const TPortIdentity& identity, const TPortIdentityFolders& folders = {});
