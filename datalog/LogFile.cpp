#include "LogFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "LineFeeder.h"
#include "LogReader.h" // ELogFormatError, TextLogHeaderStart
#include "platform/Exception.h"

namespace {

constexpr size_t StartBytes = 64 * 1024;
constexpr size_t PieceBytes = 1024 * 1024;

std::string ErrorText(const std::string& path, int error) {
    return "Cannot read " + path + ": " + std::strerror(error) + " (" + std::to_string(error) + ")";
}

// Up to `limit` bytes; fewer only at the end of the file.
size_t ReadUpTo(int fd, const std::string& path, char* buffer, size_t limit) {
    size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, buffer + got, limit - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw EInOutError(ErrorText(path, errno));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    return got;
}

const char* KindOfFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a pipe (FIFO)";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

} // namespace

std::string QuotedName(const std::string& path) {
    return "\"" + path + "\"";
}

TLogFile::TLogFile(const std::string& path) : FPath(path) {
    // Not blocking, so a FIFO without a writer cannot hold the open.
    FHandle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (FHandle < 0) {
        throw EInOutError(ErrorText(path, errno));
    }
    struct stat st {};
    if (::fstat(FHandle, &st) != 0) {
        const int error = errno;
        ::close(FHandle);
        throw EInOutError(ErrorText(path, error));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(FHandle);
        throw EInOutError(QuotedName(path) + " is " + KindOfFile(st.st_mode) +
                          ": only a regular file can be read as a log.");
    }
    FSize = static_cast<uint64_t>(st.st_size);
    FStart.resize(StartBytes);
    try {
        FStart.resize(ReadUpTo(FHandle, path, FStart.data(), StartBytes));
    } catch (...) {
        ::close(FHandle);
        throw;
    }
    const std::optional<TLogKind> kind = DetectLogKind(FStart);
    if (!kind) {
        ::close(FHandle);
        if (FStart.empty()) {
            throw ELogFormatError(QuotedName(path) + " is empty: it is not a WBX4100 data log.");
        }
        throw ELogFormatError(QuotedName(path) +
                              " is not a WBX4100 data log: its first line does not start with \"" +
                              std::string(TextLogHeaderStart) +
                              "\", and it is no MSL log (a header row starting with Time over a "
                              "units row) nor the program's CSV log.");
    }
    FKind = *kind;
}

TLogFile::~TLogFile() {
    if (FHandle >= 0) {
        ::close(FHandle);
    }
}

TLogSummary TLogFile::Read(TLogSink& sink, const TLogReadOptions& options,
                           const std::atomic<bool>* cancel, std::atomic<uint64_t>* done) {
    const auto reader = MakeLogReader(FKind, sink, options);
    TLineFeeder feeder(*reader);
    feeder.Feed(FStart);
    uint64_t total = FStart.size();
    if (done != nullptr) {
        done->store(total, std::memory_order_relaxed);
    }
    if (FStart.size() == StartBytes) {
        std::vector<char> piece(PieceBytes);
        for (;;) {
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
                return reader->Summary();
            }
            const size_t n = ReadUpTo(FHandle, FPath, piece.data(), piece.size());
            if (n == 0) {
                break;
            }
            feeder.Feed({piece.data(), n});
            total += n;
            if (done != nullptr) {
                done->store(total, std::memory_order_relaxed);
            }
        }
    }
    feeder.Finish();
    return reader->Summary();
}
