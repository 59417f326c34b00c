#include "PortDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::mutex gLock;
std::string gOverride;
} // namespace

std::string DefaultPortDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return std::string(runtime) + "/uego4100/ports";
    }
    return "/tmp/uego4100-" + std::to_string(getuid()) + "/ports";
}

std::string PortDirectory() {
    std::lock_guard<std::mutex> guard(gLock);
    return gOverride.empty() ? DefaultPortDirectory() : gOverride;
}

void SetPortDirectory(const std::string& path) {
    std::lock_guard<std::mutex> guard(gLock);
    gOverride = path;
}

bool EnsurePortDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') {
            const std::string part = path.substr(0, pos);
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
