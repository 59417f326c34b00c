#include "ports/PortDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex gLock;
std::string gOverride;

const char* const kRuntimeSteps = "uego4100/ports";
const char* const kSharedRoot = "/tmp";

std::string RuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && runtime[0] != '\0' ? runtime : "";
}

std::string SharedSteps() {
    return "uego4100-" + std::to_string(getuid()) + "/ports";
}

TPortDirectoryProblem CheckStep(const std::string& step, uid_t uid) {
    struct stat st {};
    if (lstat(step.c_str(), &st) != 0) {
        return {}; // not there: nothing is published in it
    }
    if (S_ISLNK(st.st_mode)) {
        return {step, "it is a link"};
    }
    if (!S_ISDIR(st.st_mode)) {
        return {step, "it is not a folder"};
    }
    if (st.st_uid != uid) {
        return {step, "another user owns it"};
    }
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return {step, "others can write to it"};
    }
    return {};
}

// Splits `path` into the part taken on trust and the steps to check.
void SplitForCheck(const std::string& path, std::string& base, std::string& steps) {
    const std::string runtime = RuntimeDirectory();
    if (!runtime.empty() && path == runtime + "/" + kRuntimeSteps) {
        base = runtime;
        steps = kRuntimeSteps;
    } else if (path == std::string(kSharedRoot) + "/" + SharedSteps()) {
        base = kSharedRoot;
        steps = SharedSteps();
    } else {
        const size_t slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
        base = slash == std::string::npos ? "." : path.substr(0, slash);
        steps = slash == std::string::npos ? path : path.substr(slash + 1);
    }
}

} // namespace

std::string DefaultPortDirectory() {
    const std::string runtime = RuntimeDirectory();
    if (!runtime.empty()) {
        return runtime + "/" + kRuntimeSteps;
    }
    return std::string(kSharedRoot) + "/" + SharedSteps();
}

std::string PortDirectory() {
    std::lock_guard<std::mutex> guard(gLock);
    return gOverride.empty() ? DefaultPortDirectory() : gOverride;
}

void SetPortDirectory(const std::string& path) {
    std::lock_guard<std::mutex> guard(gLock);
    gOverride = path;
}

TPortDirectoryProblem CheckFolderSteps(const std::string& base, const std::string& relative,
                                       uid_t uid) {
    std::string step = base;
    size_t from = 0;
    while (from < relative.size()) {
        size_t to = relative.find('/', from);
        if (to == std::string::npos) {
            to = relative.size();
        }
        if (to > from) {
            step += "/" + relative.substr(from, to - from);
            if (TPortDirectoryProblem problem = CheckStep(step, uid); !problem.Safe()) {
                return problem;
            }
        }
        from = to + 1;
    }
    return {};
}

TPortDirectoryProblem CheckPortDirectory(const std::string& path) {
    std::string base, steps;
    SplitForCheck(path, base, steps);
    return CheckFolderSteps(base, steps, geteuid());
}

namespace {
bool Refuse(const TPortDirectoryProblem& check, std::string* problem) {
    if (problem != nullptr) {
        *problem = check.Step + ": " + check.Reason;
    }
    errno = EPERM;
    return false;
}
} // namespace

bool EnsurePortDirectory(const std::string& path, std::string* problem) {
    if (path.empty()) {
        return false;
    }
    // Checked before anything is made inside, and again once every step exists.
    if (const TPortDirectoryProblem check = CheckPortDirectory(path); !check.Safe()) {
        return Refuse(check, problem);
    }
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') {
            const std::string part = path.substr(0, pos);
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
                if (problem != nullptr) {
                    *problem = part + ": " + std::strerror(errno);
                }
                return false;
            }
        }
    }
    if (const TPortDirectoryProblem check = CheckPortDirectory(path); !check.Safe()) {
        return Refuse(check, problem);
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
