#include "LogWriter.h"

#include <ctime>

#include "CsvLog.h"
#include "LogFormat.h"
#include "MslLog.h"
#include "format/DateTimeText.h"

namespace {

std::tm LocalTimeOf(TWallTime when) {
    return LocalTimeAt(std::chrono::system_clock::to_time_t(when));
}

// The described text log: its header line, then "0.987,14:03:27, 12.5" per reading in the
// regional settings, CR LF line ends, no markers.
class TTextLogWriter : public TLogWriter {
public:
    explicit TTextLogWriter(const TRegionalSettings& rs) : FRegional(rs) {}
    TLogKind Kind() const override { return TLogKind::Text; }
    std::string_view LineEnd() const override { return "\r\n"; }
    std::vector<std::string> Header(TWallTime start) const override {
        return {LogHeaderLine(LocalTimeOf(start), FRegional)};
    }
    std::string Reading(const TLogRecord& r) const override {
        return LogDataLine(r.Lambda, LocalTimeOf(r.Wall), r.Volts, FRegional);
    }
    bool HasMarkers() const override { return false; }
    std::string Marker(const TLogMarker& /*marker*/) const override { return {}; }

private:
    TRegionalSettings FRegional;
};

} // namespace

std::unique_ptr<TLogWriter> MakeLogWriter(TLogKind kind, const TLogFuel& fuel,
                                          const TRegionalSettings& rs) {
    switch (kind) {
    case TLogKind::Msl:
        return std::make_unique<TMslLogWriter>(fuel);
    case TLogKind::Csv:
        return std::make_unique<TCsvLogWriter>(fuel);
    default:
        return std::make_unique<TTextLogWriter>(rs);
    }
}
