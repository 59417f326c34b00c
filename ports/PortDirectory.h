#pragma once
// The folder where serial ports are published under COM names (symbolic links to device
// nodes): $XDG_RUNTIME_DIR/uego4100/ports, or /tmp/uego4100-<uid>/ports without that variable.
//
// Whoever can write to that folder decides which device COM1 opens, so a folder is followed
// only while it is safe: each of its own steps (uego4100/ports below the runtime folder,
// uego4100-<uid>/ports below /tmp, or the folder itself when it was set explicitly) must be a
// real directory, not a link, owned by the user and not writable by group or others.
#include <string>
#include <sys/types.h>

std::string DefaultPortDirectory();
// The folder in use: the default unless overridden (tests use a temporary folder).
std::string PortDirectory();
// Overrides the folder for this process; an empty text restores the default.
void SetPortDirectory(const std::string& path);

// Why a port folder is not followed; empty Reason when it is safe (or does not exist yet).
struct TPortDirectoryProblem {
    std::string Step;   // the step at fault
    std::string Reason; // "it is a link", "another user owns it", ...
    bool Safe() const { return Reason.empty(); }
};
TPortDirectoryProblem CheckPortDirectory(const std::string& path);
// The check of the steps of `relative` below `base` for the owner `uid`.
TPortDirectoryProblem CheckFolderSteps(const std::string& base, const std::string& relative,
                                       uid_t uid);

// Creates the folder and its missing parents (mode 0700), then checks it as above. Returns
// false when it cannot be created or is not safe (errno EPERM); `problem` then tells why.
bool EnsurePortDirectory(const std::string& path, std::string* problem = nullptr);
