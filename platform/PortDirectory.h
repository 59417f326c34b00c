#pragma once
// The folder where serial ports are published under COM names (symbolic links to device
// nodes): $XDG_RUNTIME_DIR/uego4100/ports, or /tmp/uego4100-<uid>/ports without that variable.
#include <string>

std::string DefaultPortDirectory();
// The folder in use: the default unless overridden (tests use a temporary folder).
std::string PortDirectory();
// Overrides the folder for this process; an empty text restores the default.
void SetPortDirectory(const std::string& path);
// Creates the folder and its parents (mode 0700 for the ones made). Returns false on failure.
bool EnsurePortDirectory(const std::string& path);
