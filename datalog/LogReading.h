#pragma once
// Reading a log back, whatever its format. One reader per format takes the file's lines in
// order and hands each reading and marker to a sink as it goes, so a log of any length is
// read in one pass with nothing held but the line at hand. Lines it cannot read it counts,
// as it does readings whose values cannot be real (not finite, lambda or volts outside 0 to
// 100).
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "LogDate.h"
#include "LogKind.h"
#include "LogWriter.h" // TLogFuel
#include "format/Regional.h"

struct TLogSample {
    // Seconds since the epoch by which readings are ordered: the log's monotonic time where
    // it has one (MSL, CSV), else the wall clock as written.
    double Time = 0;
    // Seconds since the epoch that the wall clock showed.
    double Wall = 0;
    // The text log's own time: seconds since midnight of its first day, a day added past
    // each midnight, the readings of one whole second spread evenly over it.
    double Clock = 0;
    double Lambda = 0;
    double Volts = 0;
    bool Warmup = false;
};

struct TLogMark {
    double Time = 0; // on the readings' scale
    double Wall = 0;
    std::string Text; // "001 - Manual mark"
};

class TLogSink {
public:
    virtual ~TLogSink() = default;
    virtual void Sample(const TLogSample& sample) = 0;
    virtual void Mark(const TLogMark& /*mark*/) {}
};

struct TLogReadOptions {
    TRegionalSettings Regional = RegionalSettings(); // the text log's numbers and times
    TLogFuel Fuel;                                   // turns an AFR column into lambda
    // The day a log is placed on when its start date cannot be read; today when unset.
    std::optional<TLogDate> Today;
};

struct TLogSummary {
    TLogKind Kind = TLogKind::Text;
    std::optional<TLogDate> Date; // the day the log started, from its header or first row
    bool DateUnread = false;      // the log's date could not be read: placed on today
    std::string DateText;         // the unreadable date as written ("" when there was none)
    size_t SkippedLines = 0;
    bool LambdaFromAfr = false; // lambda came from an AFR column and the chosen fuel
};

class TLogFormatReader {
public:
    TLogFormatReader(TLogKind kind, TLogSink& sink, const TLogReadOptions& options);
    virtual ~TLogFormatReader() = default;
    TLogFormatReader(const TLogFormatReader&) = delete;
    TLogFormatReader& operator=(const TLogFormatReader&) = delete;

    // One line of the file, the first one included, its line end removed; `ended` is false
    // for a last line without a line end (cut short when the writer stopped).
    virtual void Line(std::string_view line, bool ended) = 0;
    // After the last line.
    virtual void Finish() {}
    const TLogSummary& Summary() const { return FSummary; }

protected:
    void Skip() { ++FSummary.SkippedLines; }
    // The day to use when the log's own date cannot be read; notes it in the summary.
    TLogDate DateUnread(std::string_view written);

    TLogSink& FSink;
    TLogReadOptions FOptions;
    TLogSummary FSummary;
};

// The format of a log whose file begins with `start`; nothing when it is no log.
std::optional<TLogKind> DetectLogKind(std::string_view start);
std::unique_ptr<TLogFormatReader> MakeLogReader(TLogKind kind, TLogSink& sink,
                                                const TLogReadOptions& options);
// Midnight at the start of `date` in local time, in seconds since the epoch.
double LocalMidnight(const TLogDate& date);
// The local calendar day of `seconds` since the epoch.
TLogDate LocalDateOf(double seconds);
