#include "PortList.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

#include "dialogs/PortDescription.h"
#include "ports/Folders.h"
#include "ports/PortDirectory.h"
#include "ports/PortIdentity.h"
#include "ports/PortNames.h"

namespace {

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? resolved : std::string();
}

// The highest COM number that can name a device: published ones and the devices present.
int HighestPortNumber() {
    int highest = static_cast<int>(PresentSerialDevices().size());
    for (const std::string& name : FolderEntries(PortDirectory())) {
        highest = std::max(highest, ComPortNumber(name));
    }
    return std::min(highest, 255);
}

bool IsPublished(const std::string& formedName) {
    TPortLocation where;
    return LocatePort(formedName, where) == 0 && where.Folder != nullptr;
}

// The persistent name under `byIdFolder` that leads to `device`, if any.
std::string ByIdName(const std::string& byIdFolder, const std::string& device) {
    const std::string path = ByIdPath(byIdFolder, device);
    return path.empty() ? path : path.substr(path.rfind('/') + 1);
}

std::string Notes(const std::string& formedName, const std::string& device,
                  const std::string& byIdFolder) {
    std::vector<std::string> notes;
    if (RealPath(device).empty()) {
        notes.emplace_back("device missing");
    } else if (std::string byId = ByIdName(byIdFolder, device); !byId.empty()) {
        notes.push_back(byId);
    }
    if (IsPublished(formedName)) {
        notes.emplace_back("port directory entry");
    }
    std::string text;
    for (const std::string& note : notes) {
        text += (text.empty() ? " (" : "; ") + note;
    }
    return text.empty() ? text : text + ")";
}

} // namespace

std::vector<std::string> PortListLines(const std::string& byIdFolder) {
    std::vector<std::string> lines;
    // A refused folder maps no COM number at all: its problem is the one line to read.
    if (const auto folder = TPortFolderAccess::Open(PortDirectory());
        folder->State() == TPortFolderAccess::TState::Refused) {
        lines.push_back(folder->RefusalText() + "; no COM number stands for a device until it is "
                                                "mended or removed.");
        return lines;
    }
    const int highest = HighestPortNumber();
    for (int n = 1; n <= highest; ++n) {
        const std::string formed = "COM" + std::to_string(n);
        std::string device;
        if (ResolvePortName(formed, device) == 0) {
            lines.push_back(DescribePort(n) + Notes(formed, device, byIdFolder));
        }
    }
    if (lines.empty()) {
        lines.push_back("No serial device found: none under /dev/ttyUSB*, /dev/ttyACM* or "
                        "/dev/ttyS*, and no entry in " +
                        PortDirectory() + ".");
    }
    return lines;
}
