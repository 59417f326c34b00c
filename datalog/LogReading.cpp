#include "LogReading.h"

#include <cctype>
#include <ctime>

#include "CsvReader.h"
#include "LogReader.h"
#include "MslReader.h"
#include "format/DateTimeText.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The lines at the start of `text`, without their line ends (the last may be cut short).
template <class F> void ForEachLine(std::string_view text, F visit) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!visit(line)) {
            return;
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

// An MSL file: somewhere near its start a header row that starts with "Time", and under it a
// units row whose first field is a time unit.
bool LooksLikeMsl(std::string_view start) {
    bool header = false;
    bool found = false;
    ForEachLine(start, [&](std::string_view line) {
        if (header) {
            found = MslTimeUnitScale(FirstTabField(line)) > 0;
            if (found) {
                return false;
            }
        }
        header = line.find('\t') != std::string_view::npos && IsMslTimeHeader(FirstTabField(line));
        return true;
    });
    return found;
}

} // namespace

TLogFormatReader::TLogFormatReader(TLogKind kind, TLogSink& sink, const TLogReadOptions& options)
    : FSink(sink), FOptions(options) {
    FSummary.Kind = kind;
}

TLogDate TLogFormatReader::DateUnread(std::string_view written) {
    FSummary.DateUnread = true;
    FSummary.DateText = std::string(written);
    if (FOptions.Today) {
        return *FOptions.Today;
    }
    const std::tm now = LocalNow();
    return {now.tm_year + 1900, now.tm_mon + 1, now.tm_mday};
}

std::optional<TLogKind> DetectLogKind(std::string_view start) {
    if (start.starts_with(ByteOrderMark)) {
        start.remove_prefix(ByteOrderMark.size());
    }
    if (start.starts_with(TextLogHeaderStart)) {
        return TLogKind::Text;
    }
    if (IsCsvHeaderRow(start.substr(0, start.find('\n')))) {
        return TLogKind::Csv;
    }
    if (LooksLikeMsl(start)) {
        return TLogKind::Msl;
    }
    return std::nullopt;
}

std::unique_ptr<TLogFormatReader> MakeLogReader(TLogKind kind, TLogSink& sink,
                                                const TLogReadOptions& options) {
    switch (kind) {
    case TLogKind::Msl:
        return std::make_unique<TMslLogReader>(sink, options);
    case TLogKind::Csv:
        return std::make_unique<TCsvLogReader>(sink, options);
    default:
        return std::make_unique<TTextLogReader>(sink, options);
    }
}

double LocalMidnight(const TLogDate& date) {
    std::tm day{};
    day.tm_year = date.Year - 1900;
    day.tm_mon = date.Month - 1;
    day.tm_mday = date.Day;
    day.tm_isdst = -1;
    return static_cast<double>(std::mktime(&day));
}

TLogDate LocalDateOf(double seconds) {
    const std::tm local = LocalTimeAt(static_cast<std::time_t>(seconds));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}
