#pragma once
// The MSL log: tab-separated text with LF line ends that log viewers open. A preamble of quoted
// lines (program and version, capture date, the fuel behind the AFR column), a header row, a
// units row, then one row per reading; marker lines "MARK  001 - <text> - <date and time>"
// between the rows:
//   "UEGO 4100 Interface 1.0.0"
//   "Capture Date: 2024-04-03T14:00:00.000+02:00"
//   "Fuel: Gasoline, stoichiometric AFR 14.7"
//   Time<TAB>Lambda<TAB>AFR<TAB>Supply<TAB>Warmup
//   s<TAB>lambda<TAB>AFR<TAB>V<TAB>
//   0.000<TAB>0.987<TAB>14.51<TAB>12.5<TAB>0
// Time is seconds since the log started, by the monotonic clock.
#include "LogWriter.h"

class TMslLogWriter : public TFuelLogWriter {
public:
    using TFuelLogWriter::TFuelLogWriter;
    TLogKind Kind() const override { return TLogKind::Msl; }
    std::string_view LineEnd() const override { return "\n"; }
    std::vector<std::string> Header(TWallTime start) const override;
    std::string Reading(const TLogRecord& record) const override;
    std::string Marker(const TLogMarker& marker) const override;
};

// The quoted first line: "\"UEGO 4100 Interface <version>\"".
std::string MslTitleLine();
