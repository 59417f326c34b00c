#include "ports/PortIdentity.h"

#include <climits>
#include <sys/stat.h>
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

// The first by-id name (in name order) that leads to `device`, as a path, or empty.
std::string ByIdName(const std::string& folder, dev_t device) {
    for (const std::string& name : FolderEntries(folder)) {
        const std::string path = folder + "/" + name;
        if (DeviceAt(path) == device) {
            return path;
        }
    }
    return {};
}

} // namespace

TPortIdentity IdentifyOpenPort(const std::string& formedName, int fd,
                               const TPortIdentityFolders& folders) {
    TPortIdentity identity;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        return identity;
    }
    identity.FormedName = formedName;
    identity.Node = NodeOf(fd);
    if (!formedName.empty() && formedName[0] == '/') {
        identity.Kind = TPortIdentityKind::NodePath;
        identity.Path = formedName;
        return identity;
    }
    const std::string portDirectory =
        folders.PortDirectory.empty() ? PortDirectory() : folders.PortDirectory;
    // A folder that is not safe is passed over when ports are opened; so it is here.
    if (PlainName(formedName) && CheckPortDirectory(portDirectory).Safe()) {
        const std::string entry = Absolute(portDirectory + "/" + formedName);
        if (DeviceAt(entry) == st.st_rdev) {
            identity.Kind = TPortIdentityKind::PortDirectory;
            identity.Path = entry;
            return identity;
        }
    }
    if (std::string byId = ByIdName(folders.ById, st.st_rdev); !byId.empty()) {
        identity.Kind = TPortIdentityKind::ById;
        identity.Path = byId;
        return identity;
    }
    identity.Kind = TPortIdentityKind::NodePath;
    identity.Path = identity.Node;
    return identity;
}

std::string ByIdPath(const std::string& folder, const std::string& devicePath) {
    const dev_t device = DeviceAt(devicePath);
    return device != 0 ? ByIdName(folder, device) : std::string();
}

bool PortPresent(const TPortIdentity& identity) {
    if (identity.Kind == TPortIdentityKind::None || identity.Path.empty()) {
        return false;
    }
    // A port folder that has become unsafe meanwhile no longer names the device.
    if (identity.Kind == TPortIdentityKind::PortDirectory &&
        !CheckPortDirectory(identity.Path.substr(0, identity.Path.rfind('/'))).Safe()) {
        return false;
    }
    return DeviceAt(identity.Path) != 0;
}
