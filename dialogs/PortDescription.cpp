#include "PortDescription.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>

#include "ports/PortNames.h"
#include "ports/PortProbe.h"

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
    TPortLocation where;
    switch (LocatePort(formed, where)) {
    case 0:
        return formed + " = " + FinalPath(where.Path);
    case EPERM:
        return where.Refusal; // the port folder is refused: never the n-th device instead
    default:
        return formed + ": no such device";
    }
}

std::string FoundControllerText(const TProbeCandidate& port) {
    const std::string device = FinalPath(port.Path);
    return (port.Name == device ? device : port.Name + " = " + device) + ": controller found";
}

namespace {
std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}
} // namespace

std::string NoControllerText(const TProbeResult& result) {
    if (result.Tried.empty() && result.Busy.empty()) {
        return "No controller found: no port is published and no USB serial device is present.";
    }
    std::string text = "No controller answered";
    if (!result.Tried.empty()) {
        text += " on " + Joined(result.Tried);
    }
    if (!result.Busy.empty()) {
        text += std::string(result.Tried.empty() ? "" : ";") +
                " skipped, held by another program: " + Joined(result.Busy);
    }
    return text + ".";
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
