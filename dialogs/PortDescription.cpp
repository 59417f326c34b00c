#include "PortDescription.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>

#include "ports/PortDirectory.h"
#include "ports/PortNames.h"

namespace {
// The device node behind a link in the port directory, for a readable line.
std::string FinalPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

std::string OwningGroup(const std::string& devicePath) {
    struct stat st {};
    if (::stat(devicePath.c_str(), &st) != 0) {
        return {};
    }
    const group* g = ::getgrgid(st.st_gid);
    return g != nullptr ? g->gr_name : std::string();
}
} // namespace

std::string DescribePort(int portNum) {
    const std::string formed = "COM" + std::to_string(portNum);
    std::string device;
    std::string text = ResolvePortName(formed, device) != 0 ? formed + ": no such device"
                                                            : formed + " = " + FinalPath(device);
    // A port folder that is not safe is passed over; say so, or a published port seems lost.
    if (const TPortDirectoryProblem folder = CheckPortDirectory(PortDirectory()); !folder.Safe()) {
        text += "\nPort folder ignored: " + folder.Reason;
    }
    return text;
}

bool IsPermissionError(const std::string& errorText) {
    return errorText.find(std::strerror(EACCES)) != std::string::npos;
}

std::string AccessHint(const std::string& devicePath) {
    std::string group = OwningGroup(FinalPath(devicePath));
    if (group.empty() || group == "root") {
        group = "dialout";
    }
    return "No access: join the group '" + group + "' (sudo usermod -aG " + group +
           " $USER), then log out and in again.";
}
