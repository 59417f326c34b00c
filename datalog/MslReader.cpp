#include "MslReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "LogNumbers.h"
#include "LogTime.h"

namespace {

std::string Lower(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// Calls `visit(index, field)` for each tab-separated field.
template <class F> void ForEachField(std::string_view line, F visit) {
    for (int index = 0;; ++index) {
        const size_t tab = line.find('\t');
        visit(index, line.substr(0, tab));
        if (tab == std::string_view::npos) {
            return;
        }
        line.remove_prefix(tab + 1);
    }
}

// "Wed Apr 03 14:00:00 CEST 2024" (the zone name is optional and not used): local time.
std::optional<double> ParseCTime(std::string_view text) {
    static const std::array<std::string_view, 12> months = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    std::array<std::string_view, 6> words{};
    size_t count = 0;
    while (count < words.size()) {
        text = TrimSpace(text);
        if (text.empty()) {
            break;
        }
        const size_t space = text.find(' ');
        words[count++] = text.substr(0, space);
        text.remove_prefix(space == std::string_view::npos ? text.size() : space);
    }
    if (!TrimSpace(text).empty() || count < 5) {
        return std::nullopt;
    }
    std::tm t{};
    const std::string month = Lower(words[1].substr(0, 3));
    int monthIndex = -1;
    for (size_t i = 0; i < months.size(); ++i) {
        if (month == months[i]) {
            monthIndex = static_cast<int>(i);
        }
    }
    const std::string clock(words[3]);
    const std::string day(words[2]);
    const std::string year(words[count - 1]);
    if (monthIndex < 0 ||
        std::sscanf(clock.c_str(), "%d:%d:%d", &t.tm_hour, &t.tm_min, &t.tm_sec) != 3 ||
        std::sscanf(day.c_str(), "%d", &t.tm_mday) != 1 ||
        std::sscanf(year.c_str(), "%d", &t.tm_year) != 1) {
        return std::nullopt;
    }
    t.tm_year -= 1900;
    t.tm_mon = monthIndex;
    t.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&t);
    return seconds == static_cast<std::time_t>(-1) ? std::nullopt : std::optional<double>(seconds);
}

// Where `names` has a column called `exact`, or else one whose name starts with `prefix`.
int FindColumn(const std::vector<std::string>& names, std::string_view exact,
               std::string_view prefix) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == exact) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (!prefix.empty() && names[i].starts_with(prefix)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

std::string_view FirstTabField(std::string_view line) {
    return TrimSpace(line.substr(0, line.find('\t')));
}

bool IsMslTimeHeader(std::string_view field) {
    return Lower(TrimSpace(field)) == "time";
}

double MslTimeUnitScale(std::string_view unit) {
    const std::string lower = Lower(TrimSpace(unit));
    if (lower == "s" || lower == "sec" || lower == "secs" || lower == "seconds") {
        return 1;
    }
    if (lower == "ms") {
        return 0.001;
    }
    return 0;
}

std::optional<double> ParseCaptureDate(std::string_view text) {
    text = TrimSpace(text);
    if (auto iso = ParseIsoTime(text)) {
        return iso;
    }
    return ParseCTime(text);
}

TMslLogReader::TMslLogReader(TLogSink& sink, const TLogReadOptions& options)
    : TLogFormatReader(TLogKind::Msl, sink, options) {}

void TMslLogReader::Line(std::string_view line, bool ended) {
    switch (FPart) {
    case TPart::Preamble:
        Preamble(line);
        break;
    case TPart::Units:
        // The detection has seen a time unit under the first header row.
        FTimeScale = MslTimeUnitScale(FirstTabField(line));
        if (FTimeScale <= 0) {
            FTimeScale = 1;
        }
        FPart = TPart::Rows;
        break;
    case TPart::Rows:
        Row(line, ended);
        break;
    }
}

void TMslLogReader::Preamble(std::string_view line) {
    const std::string_view inner = TrimSpace(TrimSpace(line).substr(line.starts_with('"') ? 1 : 0));
    constexpr std::string_view capture = "Capture Date:";
    if (line.starts_with('"') && inner.starts_with(capture)) {
        std::string_view date = inner.substr(capture.size());
        if (date.ends_with('"')) {
            date.remove_suffix(1);
        }
        FCaptureText = std::string(TrimSpace(date));
        if (const auto start = ParseCaptureDate(date)) {
            FHasStart = true;
            FStart = *start;
        }
        return;
    }
    if (line.find('\t') != std::string_view::npos && IsMslTimeHeader(FirstTabField(line))) {
        Header(line);
    }
}

void TMslLogReader::Header(std::string_view line) {
    std::vector<std::string> names;
    ForEachField(line,
                 [&](int, std::string_view field) { names.push_back(Lower(TrimSpace(field))); });
    FTime = 0;
    FLambda = FindColumn(names, "lambda", "lambda");
    FAfr = FindColumn(names, "afr", "afr");
    FVolts = FindColumn(names, "supply", "batt");
    FWarmup = FindColumn(names, "warmup", "warm");
    FSummary.LambdaFromAfr = FLambda < 0 && FAfr >= 0;
    FPart = TPart::Units;
    if (!FHasStart) {
        FStart = LocalMidnight(DateUnread(FCaptureText));
        FHasStart = true;
    } else {
        FSummary.Date = LocalDateOf(FStart);
    }
}

void TMslLogReader::Row(std::string_view line, bool ended) {
    if (line.starts_with("MARK")) {
        Marker(line);
        return;
    }
    double time = 0;
    double lambda = -1;
    double afr = -1;
    double volts = 0;
    double warmup = 0;
    int seen = 0;
    bool ok = ended && (FLambda >= 0 || FAfr >= 0);
    ForEachField(line, [&](int index, std::string_view field) {
        if (!ok) {
            return;
        }
        ++seen;
        if (index == FTime) {
            ok = ParsePlainNumber(field, time);
        } else if (index == FLambda) {
            ok = ParsePlainNumber(field, lambda);
        } else if (index == FAfr && FLambda < 0) {
            ok = ParsePlainNumber(field, afr);
        } else if (index == FVolts) {
            ok = ParsePlainNumber(field, volts);
        } else if (index == FWarmup) {
            ok = ParsePlainNumber(field, warmup);
        }
    });
    const int needed = std::max({FTime, FLambda, FAfr, FVolts, FWarmup}) + 1;
    if (FLambda < 0) {
        lambda = afr / FOptions.Fuel.Stoichiometric;
    }
    if (!ok || seen < needed || !std::isfinite(time) || !PlausibleReading(lambda, volts)) {
        Skip();
        return;
    }
    TLogSample sample;
    sample.Time = FStart + time * FTimeScale;
    sample.Wall = sample.Time;
    sample.Clock = time * FTimeScale;
    sample.Lambda = lambda;
    sample.Volts = volts;
    sample.Warmup = warmup != 0;
    FLastTime = sample.Time;
    FHasReading = true;
    FSink.Sample(sample);
}

void TMslLogReader::Marker(std::string_view line) {
    // "MARK  001 - text - date and time": the number and text; the place is the last reading's.
    std::string_view text = TrimSpace(line.substr(4));
    const size_t dateAt = text.rfind(" - ");
    if (dateAt != std::string_view::npos && ParseCaptureDate(text.substr(dateAt + 3))) {
        text = text.substr(0, dateAt);
    }
    TLogMark mark;
    mark.Time = FHasReading ? FLastTime : FStart;
    mark.Wall = mark.Time;
    mark.Text = std::string(TrimSpace(text));
    FSink.Mark(mark);
}
