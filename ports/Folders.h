#pragma once
// The few questions the port code asks the file system about folders and symbolic links.
#include <string>
#include <vector>

// The names in `folder` other than "." and "..", in name order; none when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder);

// What the symbolic link at `path` holds, as written in it; empty when it is no link.
std::string LinkTarget(const std::string& path);
