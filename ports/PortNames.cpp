#include "ports/PortNames.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sys/stat.h>

#include "ports/Folders.h"
#include "ports/PortDirectory.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// ttyUSB12 with prefix ttyUSB -> 12; -1 when the rest is not a number.
long SuffixNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    long n = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 1000000) {
            return -1;
        }
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

// A tty has hardware behind it when sysfs links it to a device; a legacy UART slot that
// the kernel reserves without finding a chip reports type 0 (unknown).
bool HasHardware(const std::string& sysRoot, const std::string& name) {
    const std::string base = sysRoot + "/" + name;
    if (!Exists(base + "/device")) {
        return false;
    }
    std::ifstream type(base + "/type");
    int value = 0;
    if (type >> value) {
        return value != 0;
    }
    return true;
}

// The ttys the kernel writes its console to (console=ttyS0): never numbered, so that no COM
// number can set the console raw and poll it.
std::set<std::string> ConsoleTtys(const std::string& sysRoot) {
    std::set<std::string> names;
    std::ifstream active(sysRoot + "/console/active");
    for (std::string name; active >> name;) {
        names.insert(name);
    }
    return names;
}

std::vector<std::string> Group(const std::string& sysRoot, const std::string& devRoot,
                               const std::string& prefix, const std::set<std::string>& console) {
    std::vector<std::pair<long, std::string>> found;
    for (const std::string& name : FolderEntries(sysRoot)) {
        const long n = SuffixNumber(name, prefix);
        if (n >= 0 && console.count(name) == 0 && HasHardware(sysRoot, name) &&
            Exists(devRoot + "/" + name)) {
            found.emplace_back(n, devRoot + "/" + name);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& f : found) {
        paths.push_back(f.second);
    }
    return paths;
}

// The devices of the groups `prefixes`, group after group.
std::vector<std::string> Devices(const std::string& sysRoot, const std::string& devRoot,
                                 std::initializer_list<const char*> prefixes) {
    const std::set<std::string> console = ConsoleTtys(sysRoot);
    std::vector<std::string> all;
    for (const char* prefix : prefixes) {
        auto group = Group(sysRoot, devRoot, prefix, console);
        all.insert(all.end(), group.begin(), group.end());
    }
    return all;
}

} // namespace

std::string LiteralDeviceName(const std::string& path) {
    std::string pattern;
    for (char c : path) {
        pattern += c;
        if (c == '%') {
            pattern += '%';
        }
    }
    return pattern;
}

int ComPortNumber(const std::string& formedName) {
    const long n = SuffixNumber(formedName, "COM");
    return n > 0 && n <= 0x7FFFFFFF ? static_cast<int>(n) : 0;
}

std::vector<std::string> PresentSerialDevices(const std::string& sysRoot,
                                              const std::string& devRoot) {
    return Devices(sysRoot, devRoot, {"ttyUSB", "ttyACM", "ttyS"});
}

std::vector<std::string> PresentUsbSerialDevices(const std::string& sysRoot,
                                                 const std::string& devRoot) {
    return Devices(sysRoot, devRoot, {"ttyUSB", "ttyACM"});
}

int LocatePort(const std::string& formedName, TPortLocation& where) {
    where = TPortLocation();
    if (formedName.empty()) {
        return ENOENT;
    }
    if (formedName[0] == '/') {
        where.Path = formedName;
        return 0;
    }
    if (formedName.find('/') != std::string::npos || formedName == "." || formedName == "..") {
        return ENOENT;
    }
    auto folder = TPortFolderAccess::Open(PortDirectory());
    if (folder->State() == TPortFolderAccess::TState::Refused) {
        where.Refusal = formedName + ": " + folder->RefusalText();
        return EPERM;
    }
    if (folder->State() == TPortFolderAccess::TState::Trusted) {
        struct stat st {};
        if (::fstatat(folder->Fd(), formedName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            where.Path = folder->Path() + "/" + formedName;
            where.Entry = formedName;
            where.Folder = std::move(folder);
            return 0;
        }
    }
    const int n = ComPortNumber(formedName);
    if (n > 0) {
        const auto present = PresentSerialDevices();
        if (static_cast<size_t>(n) <= present.size()) {
            where.Path = present[n - 1];
            return 0;
        }
    }
    return ENOENT;
}

int OpenPortLocation(const TPortLocation& where, int flags) {
    return where.Folder ? ::openat(where.Folder->Fd(), where.Entry.c_str(), flags)
                        : ::open(where.Path.c_str(), flags);
}

int ResolvePortName(const std::string& formedName, std::string& devicePath) {
    TPortLocation where;
    const int e = LocatePort(formedName, where);
    if (e == 0) {
        devicePath = where.Path;
    }
    return e;
}
