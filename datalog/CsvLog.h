#pragma once
// The CSV log (RFC 4180, CR LF line ends) for spreadsheets: a header row with the units, then
// one row per reading; a marker is a row of its own with its time and the Mark column filled.
//   Time (s),Date and time,Lambda,AFR,Supply (V),Warmup,Mark
//   0.000,2024-04-03T14:00:00.123+02:00,0.987,14.51,12.5,0,
// Time is seconds since the log started, by the monotonic clock; the date and time is local,
// with milliseconds and the UTC offset. "." and "," whatever the regional settings.
#include "LogWriter.h"

// The header row.
inline constexpr std::string_view CsvHeaderRow =
    "Time (s),Date and time,Lambda,AFR,Supply (V),Warmup,Mark";

class TCsvLogWriter : public TFuelLogWriter {
public:
    using TFuelLogWriter::TFuelLogWriter;
    TLogKind Kind() const override { return TLogKind::Csv; }
    std::string_view LineEnd() const override { return "\r\n"; }
    std::vector<std::string> Header(TWallTime start) const override;
    std::string Reading(const TLogRecord& record) const override;
    std::string Marker(const TLogMarker& marker) const override;
};

// `text` as one CSV field: in quotes, inner quotes doubled, when it holds a comma, a quote or
// a line break.
std::string CsvField(std::string_view text);
