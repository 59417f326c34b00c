#pragma once
// The data log file. Every line goes to the file as it is written (no user-space buffer),
// so a crash or power loss keeps all complete lines. A line that cannot be written is cut
// back off the file, the file is closed and the error is raised once; the caller then
// shows the log as stopped.
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "platform/Exception.h"

// How a log file is made: `Replace` empties a file that exists (the user agreed to that in the
// save dialog, or gave --overwrite); `New` refuses one that exists at the moment of creation,
// so two programs started on the same new file cannot both write it.
enum class TLogCreation { Replace, New };

// A `New` log whose file exists.
class ELogFileExists : public EInOutError {
public:
    using EInOutError::EInOutError;
};

class TDataLog {
public:
    TDataLog() = default;
    ~TDataLog();
    TDataLog(const TDataLog&) = delete;
    TDataLog& operator=(const TDataLog&) = delete;

    // Creates `path`, or empties it when it exists and `creation` is Replace. An open log is
    // closed first. A symbolic link owned by another user is never followed. Throws
    // ELogFileExists for a `New` log whose file exists, EInOutError when the file cannot be
    // created.
    void Create(const std::string& path, TLogCreation creation = TLogCreation::Replace);
    // Appends `text` and the line end. On failure the partial line is removed, the log is
    // closed and EInOutError is thrown.
    void WriteLine(const std::string& text);
    // Appends the lines, each with the line end, in one write: all of them or, on failure
    // (handled as by WriteLine), none.
    void WriteLines(const std::vector<std::string>& lines);
    // The line end of the lines to come: CR LF unless set otherwise.
    void SetLineEnd(std::string_view end) { FLineEnd = end; }
    // Closes the file; does nothing when none is open. Throws EInOutError when the system
    // reports a failure on close (the file is released all the same).
    void Close();

    bool IsOpen() const { return FHandle >= 0; }
    const std::string& FileName() const { return FFileName; }
    // Bytes of complete lines in the file.
    off_t Size() const { return FGoodSize; }

private:
    [[noreturn]] void Fail(const std::string& action, int error);
    bool WriteAll(const char* data, size_t size, int& error);

    void WriteText(const std::string& text);

    int FHandle = -1;
    off_t FGoodSize = 0;
    std::string FLineEnd = "\r\n";
    std::string FFileName;
};
