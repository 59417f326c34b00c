#include "DataLog.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/Exception.h"

namespace {
std::string ErrorText(const std::string& action, const std::string& path, int error) {
    return action + " " + path + ": " + std::strerror(error) + " (" + std::to_string(error) + ")";
}
} // namespace

TDataLog::~TDataLog() {
    if (FHandle >= 0) {
        ::close(FHandle);
    }
}

void TDataLog::Create(const std::string& path) {
    Close();
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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
