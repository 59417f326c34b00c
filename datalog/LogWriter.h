#pragma once
// What a log holds and how one format lays it out: the header written at the start, one line
// per reading, and numbered markers where the format has room for them. The lines go to the
// file through TDataLog, which ends each with the format's line end.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "LogKind.h"
#include "LogTime.h"
#include "format/Regional.h"

// The fuel whose stoichiometric ratio turns lambda into AFR.
struct TLogFuel {
    std::string Name = "Gasoline";
    double Stoichiometric = 14.7;
};

// One reading as a log stores it.
struct TLogRecord {
    TWallTime Wall;     // the wall clock when it was taken
    double Elapsed = 0; // seconds since the log started, by the monotonic clock
    double Lambda = 0;  // as measured, also during warm-up
    double Volts = 0;
    bool Warmup = false;
};

// A point in the log the user marked.
struct TLogMarker {
    int Number = 0; // 1, 2, ... within the log
    std::string Text;
    TWallTime Wall;
    double Elapsed = 0;
};

class TLogWriter {
public:
    virtual ~TLogWriter() = default;
    virtual TLogKind Kind() const = 0;
    // "\r\n" or "\n".
    virtual std::string_view LineEnd() const = 0;
    // The lines that open a log started at `start`.
    virtual std::vector<std::string> Header(TWallTime start) const = 0;
    virtual std::string Reading(const TLogRecord& record) const = 0;
    virtual bool HasMarkers() const = 0;
    // The line of a marker; only for a format that has markers.
    virtual std::string Marker(const TLogMarker& marker) const = 0;
};

// A format with an AFR column and markers: the MSL and CSV logs.
class TFuelLogWriter : public TLogWriter {
public:
    explicit TFuelLogWriter(const TLogFuel& fuel) : FFuel(fuel) {}
    bool HasMarkers() const override { return true; }

protected:
    TLogFuel FFuel;
};

// The writer of `kind`. The text log follows the regional settings `rs`; the others use "."
// and their own separators whatever the settings.
std::unique_ptr<TLogWriter> MakeLogWriter(TLogKind kind, const TLogFuel& fuel = {},
                                          const TRegionalSettings& rs = RegionalSettings());
