#include "PortLink.h"

#include <atomic>
#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "ports/Folders.h"
#include "ports/PortDirectory.h"

std::string ComName(int portNumber) {
    return "COM" + std::to_string(portNumber);
}

void TPortLink::Publish(const std::string& directory, int portNumber, const std::string& target) {
    PublishAs(directory, ComName(portNumber), target);
}

void TPortLink::PublishAs(const std::string& directory, const std::string& name,
                          const std::string& target) {
    Remove();
    std::string problem;
    if (!EnsurePortDirectory(directory, &problem)) {
        throw std::system_error(errno, std::generic_category(),
                                "cannot use port directory " + directory +
                                    (problem.empty() ? "" : " (" + problem + ")"));
    }
    const std::string path = directory + "/" + name;
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        throw std::system_error(EEXIST, std::generic_category(), path + " is not a link");
    }
    static std::atomic<unsigned> serial{0};
    const std::string temp =
        path + ".new." + std::to_string(getpid()) + "." + std::to_string(serial++);
    unlink(temp.c_str());
    if (symlink(target.c_str(), temp.c_str()) != 0) {
        throw std::system_error(errno, std::generic_category(), "cannot create link " + temp);
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        throw std::system_error(error, std::generic_category(), "cannot publish " + path);
    }
    FPath = path;
    FTarget = target;
}

void TPortLink::Remove() {
    if (FPath.empty()) {
        return;
    }
    if (LinkTarget(FPath) == FTarget) {
        unlink(FPath.c_str());
    }
    FPath.clear();
    FTarget.clear();
}
