#include "ports/PortIdentity.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "ports/Folders.h"
#include "ports/PortDirectory.h"

namespace {

// The character device a path leads to (links followed), or 0.
dev_t DeviceAt(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) {
        return 0;
    }
    return st.st_rdev;
}

std::string Absolute(const std::string& path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
        return path;
    }
    return std::string(cwd) + "/" + path;
}

// The node an open descriptor refers to, as the kernel names it.
std::string NodeOf(int fd) {
    return LinkTarget("/proc/self/fd/" + std::to_string(fd));
}

bool PlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

// The first name (in name order) under `folder` that leads to `device`, as a path, or empty.
std::string NameLeadingTo(const std::string& folder, dev_t device) {
    for (const std::string& name : FolderEntries(folder)) {
        const std::string path = folder + "/" + name;
        if (DeviceAt(path) == device) {
            return path;
        }
    }
    return {};
}

std::string FirstWord(const std::string& path) {
    std::ifstream in(path);
    std::string word;
    in >> word;
    return word;
}

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? resolved : std::string();
}

// The entry of a trusted port folder that leads to `device`: Folder and Entry set.
bool FromPortDirectory(const std::string& formedName, dev_t device, const std::string& directory,
                       TPortIdentity& identity) {
    if (!PlainName(formedName)) {
        return false;
    }
    const auto folder = TPortFolderAccess::Open(directory);
    if (folder->State() != TPortFolderAccess::TState::Trusted) {
        return false;
    }
    struct stat st {};
    if (::fstatat(folder->Fd(), formedName.c_str(), &st, 0) != 0 || !S_ISCHR(st.st_mode) ||
        st.st_rdev != device) {
        return false;
    }
    identity.Kind = TPortIdentityKind::PortDirectory;
    identity.Folder = Absolute(directory);
    identity.Entry = formedName;
    identity.Path = identity.Folder + "/" + formedName;
    return true;
}

// The device the identity's own name leads to now, or 0.
dev_t DeviceNow(const TPortIdentity& identity) {
    if (identity.Kind != TPortIdentityKind::PortDirectory) {
        return DeviceAt(identity.Path);
    }
    // Only through the folder as it is now, and only while it is trusted.
    const auto folder = TPortFolderAccess::Open(identity.Folder);
    struct stat st {};
    if (folder->State() != TPortFolderAccess::TState::Trusted ||
        ::fstatat(folder->Fd(), identity.Entry.c_str(), &st, 0) != 0 || !S_ISCHR(st.st_mode)) {
        return 0;
    }
    return st.st_rdev;
}

} // namespace

std::string TPortIdentityFolders::DefaultDeviceLinks() {
    const char* links = std::getenv("UEGO4100_DEVICE_LINKS");
    return links != nullptr && links[0] != '\0' ? links : "/dev/serial";
}

TUsbIdentity UsbIdentityOf(dev_t device, const std::string& sysRoot) {
    TUsbIdentity usb;
    // /sys/dev/char/M:m/device is the tty's port (ttyUSB0) or interface (ttyACM); the USB
    // device with the ids is a few folders up.
    std::string at = RealPath(sysRoot + "/dev/char/" + std::to_string(major(device)) + ":" +
                              std::to_string(minor(device)) + "/device");
    for (int up = 0; up < 4 && at.size() > 1; ++up) {
        usb.Vendor = FirstWord(at + "/idVendor");
        if (!usb.Vendor.empty()) {
            usb.Product = FirstWord(at + "/idProduct");
            usb.Serial = FirstWord(at + "/serial");
            return usb;
        }
        at = at.substr(0, at.rfind('/'));
    }
    return {};
}

TPortIdentity IdentifyOpenPort(const std::string& formedName, int fd,
                               const TPortIdentityFolders& folders) {
    TPortIdentity identity;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        return identity;
    }
    identity.FormedName = formedName;
    identity.Node = NodeOf(fd);
    identity.Usb = UsbIdentityOf(st.st_rdev, folders.Sys);
    const std::string directory =
        folders.PortDirectory.empty() ? PortDirectory() : folders.PortDirectory;
    if (FromPortDirectory(formedName, st.st_rdev, directory, identity)) {
        return identity;
    }
    if (!identity.Usb.Serial.empty()) {
        if (std::string byId = NameLeadingTo(folders.ById, st.st_rdev); !byId.empty()) {
            identity.Kind = TPortIdentityKind::ById;
            identity.Path = byId;
            return identity;
        }
    }
    if (std::string byPath = NameLeadingTo(folders.ByPath, st.st_rdev); !byPath.empty()) {
        identity.Kind = TPortIdentityKind::ByPath;
        identity.Path = byPath;
        return identity;
    }
    identity.Kind = TPortIdentityKind::NodePath;
    identity.Path = identity.Node;
    return identity;
}

std::string ByIdPath(const std::string& folder, const std::string& devicePath) {
    const dev_t device = DeviceAt(devicePath);
    return device != 0 ? NameLeadingTo(folder, device) : std::string();
}

std::optional<TReturnedPort> FindReturnedPort(const TPortIdentity& identity,
                                              const TPortIdentityFolders& folders) {
    if (identity.Kind == TPortIdentityKind::None || identity.Path.empty()) {
        return std::nullopt;
    }
    const dev_t device = DeviceNow(identity);
    if (device == 0) {
        return std::nullopt;
    }
    // The socket is the by-path name itself; every other name must lead to the same adapter.
    if (identity.Kind != TPortIdentityKind::ByPath && identity.Usb.Known() &&
        UsbIdentityOf(device, folders.Sys) != identity.Usb) {
        return std::nullopt;
    }
    return TReturnedPort{identity.Path, device};
}

bool PortPresent(const TPortIdentity& identity, const TPortIdentityFolders& folders) {
    return FindReturnedPort(identity, folders).has_value();
}
