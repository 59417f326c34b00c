#pragma once
// Reads a data log written by "Log Start" back: the header line with its date, then one
// reading per line, "0.987,14:03:27, 12.5" or, with a decimal comma, "0,987,14:03:27, 12,5".
// Lines end in CR LF or LF. The time of day is read in the user's long time format (hours,
// minutes, seconds, an AM/PM mark where the format has one); a time earlier than the one
// before it means the log ran past midnight. Lines that cannot be read are skipped and
// counted, and so is a last line without its line end, which a crash or a pulled disk tore.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/Regional.h"
#include "platform/Exception.h"

// The file is not a data log (its first line is not the log's header); nothing was read.
class ELogFormatError : public Exception {
public:
    using Exception::Exception;
};

struct TLogDate {
    int Year = 0;
    int Month = 0; // 1..12
    int Day = 0;   // 1..31
};

struct TLogReading {
    // Seconds since midnight of the day the log started, days added past each midnight.
    // The log stores whole seconds; the readings within one second are spread evenly over it.
    double Seconds = 0;
    double Lambda = 0;
    double Volts = 0;
};

struct TLogContents {
    std::optional<TLogDate> Date; // from the header; nothing when it cannot be read
    std::vector<TLogReading> Readings;
    size_t SkippedLines = 0;
};

// Throws ELogFormatError when `text` does not start with the log's header.
TLogContents ParseDataLog(std::string_view text, const TRegionalSettings& rs = RegionalSettings());
// Throws EInOutError when the file cannot be read, ELogFormatError when it is not a log.
TLogContents ReadDataLog(const std::string& path, const TRegionalSettings& rs = RegionalSettings());
