#pragma once
// Reads a data log written by "Log Start" back: the header line with its date, then one
// reading per line, "0.987,14:03:27, 12.5" or, with a decimal comma, "0,987,14:03:27, 12,5".
// Lines end in CR LF or LF. The time of day is read in the user's long time format (hours,
// minutes, seconds, an AM/PM mark where the format has one). A time of day more than 12 hours
// earlier than the one before it means the log ran past midnight; a smaller step back is the
// clock being set back and stays on the day. Lines that cannot be read are skipped and
// counted, and so is a last line without its line end, which a crash or a pulled disk tore;
// blank lines at the end are no error.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LocalClock.h"
#include "LogDate.h"
#include "LogReading.h"
#include "format/Regional.h"
#include "platform/Exception.h"

// The file is not a data log (its first line is not the log's header); nothing was read.
class ELogFormatError : public Exception {
public:
    using Exception::Exception;
};

// "WBX4100 Data Log V": how a text log's header starts.
inline constexpr std::string_view TextLogHeaderStart = "WBX4100 Data Log V";

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

// The text log's reader. The instants it hands on come from the header's date and the
// times as written, through the time-zone rules (TLocalClock); a log whose date cannot be
// read is placed on today, and its summary says so.
class TTextLogReader : public TLogFormatReader {
public:
    TTextLogReader(TLogSink& sink, const TLogReadOptions& options);
    void Line(std::string_view line, bool ended) override;
    void Finish() override;

private:
    struct TPending {
        double Lambda;
        double Volts;
    };
    void Header(std::string_view line);
    // Hands on the readings of the second at hand, spread over it.
    void Flush();

    bool FHeader = true;
    TLogDate FDate;
    int FDay = 0;
    int FPreviousSecond = -1;
    int FSecond = -1; // of the readings pending
    int FSecondDay = 0;
    std::vector<TPending> FPending;
    TLocalClock FClock;
};

// Throws ELogFormatError when `text` does not start with the log's header.
TLogContents ParseDataLog(std::string_view text, const TRegionalSettings& rs = RegionalSettings());
// Throws EInOutError when the file cannot be read or is no regular file, ELogFormatError
// when it is not a log.
TLogContents ReadDataLog(const std::string& path, const TRegionalSettings& rs = RegionalSettings());
