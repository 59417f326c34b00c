#include "DataLog.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Exception.h"

namespace {
std::string ErrorText(const std::string& action, const std::string& path, int error) {
    return action + " " + path + ": " + std::strerror(error) + " (" + std::to_string(error) + ")";
}

// Opens the log file as `creation` says. A link is followed only when it is the user's own
// (or root's): in a shared folder such as /tmp another user's link could lead anywhere.
int OpenLogFile(const std::string& path, TLogCreation creation) {
    if (creation == TLogCreation::New) {
        // O_EXCL: never an existing file, never through a link.
        return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    }
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW, 0644);
    struct stat st {};
    if (fd >= 0 || errno != ELOOP || ::lstat(path.c_str(), &st) != 0 ||
        (st.st_uid != ::geteuid() && st.st_uid != 0)) {
        return fd;
    }
    return ::open(path.c_str(), flags, 0644);
}
} // namespace

TDataLog::~TDataLog() {
    if (FHandle >= 0) {
        ::close(FHandle);
    }
}

void TDataLog::Create(const std::string& path, TLogCreation creation) {
    Close();
    int fd = OpenLogFile(path, creation);
    if (fd < 0 && errno == EEXIST) {
        throw ELogFileExists(ErrorText("Cannot create log file", path, EEXIST));
    }
    if (fd < 0 && errno == ELOOP && creation == TLogCreation::Replace) {
        throw EInOutError("Cannot create log file " + path +
                          ": it is a symbolic link owned by another user, not followed");
    }
    if (fd < 0) {
        throw EInOutError(ErrorText("Cannot create log file", path, errno));
    }
    FHandle = fd;
    FGoodSize = 0;
    FFileName = path;
}

bool TDataLog::WriteAll(const char* data, size_t size, int& error) {
    while (size > 0) {
        ssize_t n = ::write(FHandle, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void TDataLog::WriteLine(const std::string& text) {
    WriteText(text + FLineEnd);
}

void TDataLog::WriteLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += FLineEnd;
    }
    WriteText(text);
}

void TDataLog::WriteText(const std::string& text) {
    if (FHandle < 0) {
        throw EInOutError("Log file not open");
    }
    int error = 0;
    if (!WriteAll(text.data(), text.size(), error)) {
        // Cut a torn line off so the file ends with the last complete one.
        if (::ftruncate(FHandle, FGoodSize) != 0) {
            // Not a regular file (a device): nothing to cut.
        }
        Fail("Cannot write to log file", error);
    }
    FGoodSize += static_cast<off_t>(text.size());
}

void TDataLog::Fail(const std::string& action, int error) {
    ::close(FHandle);
    FHandle = -1;
    throw EInOutError(ErrorText(action, FFileName, error) + ". Logging has stopped.");
}

void TDataLog::Close() {
    if (FHandle < 0) {
        return;
    }
    int fd = FHandle;
    FHandle = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        throw EInOutError(ErrorText("Cannot close log file", FFileName, errno));
    }
}
