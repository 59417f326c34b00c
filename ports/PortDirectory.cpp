#include "ports/PortDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
        base = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        steps = slash == std::string::npos ? path : path.substr(slash + 1);
    }
}

std::vector<std::string> Steps(const std::string& relative) {
    std::vector<std::string> steps;
    size_t from = 0;
    while (from < relative.size()) {
        size_t to = relative.find('/', from);
        if (to == std::string::npos) {
            to = relative.size();
        }
        if (to > from) {
            steps.push_back(relative.substr(from, to - from));
        }
        from = to + 1;
    }
    return steps;
}

// Why the step `name` below `parent` could not be opened as a folder; empty when it is missing.
std::string OpenFailure(int parent, const std::string& name, int error) {
    if (error == ENOENT) {
        return {};
    }
    struct stat st {};
    if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(st.st_mode)) {
            return "it is a link";
        }
        if (!S_ISDIR(st.st_mode)) {
            return "it is not a folder";
        }
    }
    return std::string("it cannot be opened (") + std::strerror(error) + ")";
}

// Why the open step is not to be trusted; empty when it is.
std::string Distrust(int fd, uid_t uid) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return std::string("it cannot be checked (") + std::strerror(errno) + ")";
    }
    if (st.st_uid != uid) {
        return "another user owns it";
    }
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return "others can write to it";
    }
    return {};
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

std::shared_ptr<TPortFolderAccess> TPortFolderAccess::Open(const std::string& path) {
    std::string base, steps;
    SplitForCheck(path, base, steps);
    auto folder = Walk(base, steps, geteuid());
    folder->FPath = path;
    return folder;
}

std::shared_ptr<TPortFolderAccess> TPortFolderAccess::Walk(const std::string& base,
                                                           const std::string& relative, uid_t uid) {
    std::shared_ptr<TPortFolderAccess> folder(new TPortFolderAccess());
    folder->FPath = base + "/" + relative;
    // The base (the runtime folder, /tmp) is the system's; it may be reached through links.
    int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return folder; // absent
    }
    std::string step = base;
    for (const std::string& name : Steps(relative)) {
        step += "/" + name;
        const int next =
            ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        std::string reason = next < 0 ? OpenFailure(fd, name, error) : Distrust(next, uid);
        ::close(fd);
        fd = next;
        if (next < 0 && reason.empty()) {
            return folder; // a missing step: nothing is published
        }
        if (!reason.empty()) {
            if (fd >= 0) {
                ::close(fd);
            }
            folder->FState = TState::Refused;
            folder->FProblem = {step, reason};
            return folder;
        }
    }
    folder->FState = TState::Trusted;
    folder->FFd = fd;
    return folder;
}

TPortFolderAccess::~TPortFolderAccess() {
    if (FFd >= 0) {
        ::close(FFd);
    }
}

std::string TPortFolderAccess::RefusalText() const {
    if (FState != TState::Refused) {
        return {};
    }
    const std::string why =
        FProblem.Step == FPath ? FProblem.Reason : FProblem.Step + ": " + FProblem.Reason;
    return "port folder " + FPath + " ignored: " + why;
}

TPortDirectoryProblem CheckFolderSteps(const std::string& base, const std::string& relative,
                                       uid_t uid) {
    return TPortFolderAccess::Walk(base, relative, uid)->Problem();
}

TPortDirectoryProblem CheckPortDirectory(const std::string& path) {
    return TPortFolderAccess::Open(path)->Problem();
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
    const auto folder = TPortFolderAccess::Open(path);
    if (folder->State() == TPortFolderAccess::TState::Refused) {
        return Refuse(folder->Problem(), problem);
    }
    return folder->State() == TPortFolderAccess::TState::Trusted;
}
