#pragma once
// The folder where serial ports are published under COM names (symbolic links to device
// nodes): $XDG_RUNTIME_DIR/uego4100/ports, or /tmp/uego4100-<uid>/ports without that variable.
//
// Whoever can write to that folder decides which device COM1 opens, so a folder is followed
// only while it is trusted: each of its own steps (uego4100/ports below the runtime folder,
// uego4100-<uid>/ports below /tmp, or the folder itself when it was set explicitly) must be a
// real directory, not a link, owned by the user and not writable by group or others. The
// steps are walked with openat(O_DIRECTORY | O_NOFOLLOW) and checked on their open
// descriptors, and entries are looked up relative to the last one, so nothing can be swapped
// between the check and the use. A folder with a missing step publishes nothing.
#include <memory>
#include <string>
#include <sys/types.h>

std::string DefaultPortDirectory();
// The folder in use: the default unless overridden (tests use a temporary folder).
std::string PortDirectory();
// Overrides the folder for this process; an empty text restores the default.
void SetPortDirectory(const std::string& path);

// Why a port folder is not followed; empty Reason when it is trusted (or does not exist).
struct TPortDirectoryProblem {
    std::string Step;   // the step at fault
    std::string Reason; // "it is a link", "another user owns it", ...
    bool Safe() const { return Reason.empty(); }
};

// A port folder walked step by step and held open while it is trusted.
class TPortFolderAccess {
public:
    enum class TState {
        Absent,  // a step does not exist: nothing is published
        Trusted, // every step checked; Fd() is the folder itself
        Refused  // a step exists but must not be followed; Problem() tells why
    };

    // Walks `path` for the current user (the steps as described above).
    static std::shared_ptr<TPortFolderAccess> Open(const std::string& path);
    // Walks the steps of `relative` below `base` (taken on trust) for the owner `uid`.
    static std::shared_ptr<TPortFolderAccess> Walk(const std::string& base,
                                                   const std::string& relative, uid_t uid);
    ~TPortFolderAccess();
    TPortFolderAccess(const TPortFolderAccess&) = delete;
    TPortFolderAccess& operator=(const TPortFolderAccess&) = delete;

    TState State() const { return FState; }
    const std::string& Path() const { return FPath; }
    const TPortDirectoryProblem& Problem() const { return FProblem; }
    // The open folder while trusted, else -1.
    int Fd() const { return FFd; }
    // "port folder <path> ignored: <reason>" for a refused folder; empty otherwise.
    std::string RefusalText() const;

private:
    TPortFolderAccess() = default;
    TState FState = TState::Absent;
    std::string FPath;
    TPortDirectoryProblem FProblem;
    int FFd = -1;
};

// The check alone: the problem of a refused folder, nothing for a trusted or absent one.
TPortDirectoryProblem CheckPortDirectory(const std::string& path);
// The check of the steps of `relative` below `base` for the owner `uid`.
TPortDirectoryProblem CheckFolderSteps(const std::string& base, const std::string& relative,
                                       uid_t uid);

// Creates the folder and its missing parents (mode 0700), then checks it as above. Returns
// false when it cannot be created or is not safe (errno EPERM); `problem` then tells why.
bool EnsurePortDirectory(const std::string& path, std::string* problem = nullptr);
