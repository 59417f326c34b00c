#pragma once
// A log file opened for reading back. Only a regular file is read: a FIFO, a device or a
// folder is refused at once, never waited on. The file's first bytes tell its format; a file
// that is no log is refused by name. The rest is read in pieces and handed on line by line,
// so memory does not grow with the file; the reading can be cancelled between pieces and
// tells how far it has come.
#include <atomic>
#include <cstdint>
#include <string>

#include "LogReading.h"

class TLogFile {
public:
    // Throws EInOutError when the file cannot be opened or is no regular file, and
    // ELogFormatError when it is no log.
    explicit TLogFile(const std::string& path);
    ~TLogFile();
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    const std::string& Path() const { return FPath; }
    TLogKind Kind() const { return FKind; }
    uint64_t Size() const { return FSize; }

    // Reads the log into `sink` from its start. Stops early once `cancel` is set; `done`
    // follows the bytes read. Throws EInOutError when reading fails.
    TLogSummary Read(TLogSink& sink, const TLogReadOptions& options,
                     const std::atomic<bool>* cancel = nullptr,
                     std::atomic<uint64_t>* done = nullptr);

private:
    std::string FPath;
    int FHandle = -1;
    uint64_t FSize = 0;
    TLogKind FKind = TLogKind::Text;
    std::string FStart; // the first bytes, read to tell the format
};

// `path` in quotes, as messages name a file.
std::string QuotedName(const std::string& path);
