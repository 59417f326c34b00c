#include "LogReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "LineFeeder.h"
#include "LogFile.h"
#include "LogNumbers.h"

namespace {

// A time of day that falls by more than this is the next day; by less, a clock set back.
constexpr int DayRollSeconds = 12 * 3600;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// The first runs of digits in `text`, at most three; -1 when a run does not fit an int.
int DigitRuns(std::string_view text, int (&runs)[3]) {
    int count = 0;
    size_t i = 0;
    while (i < text.size() && count < 3) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        const auto [end, error] =
            std::from_chars(text.data() + i, text.data() + text.size(), runs[count]);
        if (error != std::errc()) {
            return -1;
        }
        ++count;
        i = static_cast<size_t>(end - text.data());
    }
    return count;
}

// A number with a decimal point or a decimal comma, not negative.
bool ParseNumber(std::string_view text, double& value) {
    text = Trim(text);
    char buffer[32];
    if (text.empty() || text.size() >= sizeof buffer || text.front() == '-') {
        return false;
    }
    std::replace_copy(text.begin(), text.end(), buffer, ',', '.');
    const char* end = buffer + text.size();
    const auto [stop, error] = std::from_chars(buffer, end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

bool ContainsNoCase(std::string_view text, std::string_view mark) {
    if (mark.empty() || mark.size() > text.size()) {
        return false;
    }
    const auto same = [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), mark.begin(), mark.end(), same) != text.end();
}

// Hours, minutes and seconds (when there), with an AM/PM mark moving the hours.
std::optional<int> ParseTimeOfDay(std::string_view text, const TRegionalSettings& rs) {
    int parts[3] = {0, 0, 0};
    const int count = DigitRuns(text, parts);
    if (count < 2) {
        return std::nullopt;
    }
    int hour = parts[0];
    const int minute = parts[1];
    const int second = parts[2];
    const bool letters = std::any_of(text.begin(), text.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) != 0;
    });
    if (letters) {
        if (ContainsNoCase(text, rs.TimePMString) || ContainsNoCase(text, "PM")) {
            hour = hour % 12 + 12;
        } else if (ContainsNoCase(text, rs.TimeAMString) || ContainsNoCase(text, "AM")) {
            hour = hour % 12;
        }
    }
    if (hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return hour * 3600 + minute * 60 + second;
}

struct TLineValues {
    double Lambda = 0;
    int SecondOfDay = 0;
    double Volts = 0;
};

// "<lambda>,<time>, <volts>", where lambda and volts may carry a decimal comma.
bool ParseReadingLine(std::string_view line, const TRegionalSettings& rs, TLineValues& out) {
    const size_t voltsAt = line.rfind(", ");
    if (voltsAt == std::string_view::npos) {
        return false;
    }
    const std::string_view head = line.substr(0, voltsAt);
    const size_t timeAt = head.rfind(',');
    if (timeAt == std::string_view::npos) {
        return false;
    }
    const std::optional<int> time = ParseTimeOfDay(head.substr(timeAt + 1), rs);
    if (!time || !ParseNumber(head.substr(0, timeAt), out.Lambda) ||
        !ParseNumber(line.substr(voltsAt + 2), out.Volts)) {
        return false;
    }
    out.SecondOfDay = *time;
    return true;
}

// Keeps what the text log's own time says of each reading.
class TContentsSink : public TLogSink {
public:
    explicit TContentsSink(TLogContents& contents) : FContents(contents) {}
    void Sample(const TLogSample& s) override {
        FContents.Readings.push_back({s.Clock, s.Lambda, s.Volts});
    }

private:
    TLogContents& FContents;
};

} // namespace

TTextLogReader::TTextLogReader(TLogSink& sink, const TLogReadOptions& options)
    : TLogFormatReader(TLogKind::Text, sink, options) {}

void TTextLogReader::Header(std::string_view line) {
    // The date follows the version: "WBX4100 Data Log V1.0  10/18/2020".
    const std::string_view rest = line.substr(std::min(line.size(), TextLogHeaderStart.size()));
    const size_t space = rest.find(' ');
    const std::string_view written =
        space == std::string_view::npos ? std::string_view() : Trim(rest.substr(space));
    FSummary.Date = ReadLogDate(written, FOptions.Regional);
    FDate = FSummary.Date ? *FSummary.Date : DateUnread(written);
}

void TTextLogReader::Line(std::string_view line, bool ended) {
    if (FHeader) {
        FHeader = false;
        Header(line);
        return;
    }
    TLineValues values;
    if (!ended || !ParseReadingLine(line, FOptions.Regional, values) ||
        !PlausibleReading(values.Lambda, values.Volts)) {
        Skip();
        return;
    }
    if (values.SecondOfDay < FPreviousSecond - DayRollSeconds) {
        ++FDay;
    }
    FPreviousSecond = values.SecondOfDay;
    if (values.SecondOfDay != FSecond || FDay != FSecondDay) {
        Flush();
        FSecond = values.SecondOfDay;
        FSecondDay = FDay;
    }
    FPending.push_back({values.Lambda, values.Volts});
}

void TTextLogReader::Flush() {
    if (FPending.empty()) {
        return;
    }
    const double count = static_cast<double>(FPending.size());
    const double instant = FClock.Instant(AddDays(FDate, FSecondDay), FSecond);
    const double clock = FSecondDay * 86400.0 + FSecond;
    for (size_t i = 0; i < FPending.size(); ++i) {
        const double within = static_cast<double>(i) / count;
        TLogSample sample;
        sample.Time = instant + within;
        sample.Wall = sample.Time;
        sample.Clock = clock + within;
        sample.Lambda = FPending[i].Lambda;
        sample.Volts = FPending[i].Volts;
        FSink.Sample(sample);
    }
    FPending.clear();
}

void TTextLogReader::Finish() {
    Flush();
}

TLogContents ParseDataLog(std::string_view text, const TRegionalSettings& rs) {
    if (text.empty()) {
        throw ELogFormatError("The text is empty: it is not a WBX4100 data log.");
    }
    if (!text.starts_with(TextLogHeaderStart)) {
        throw ELogFormatError(
            "The text is not a WBX4100 data log: its first line does not start with \"" +
            std::string(TextLogHeaderStart) + "\".");
    }
    TLogContents contents;
    TContentsSink sink(contents);
    TLogReadOptions options;
    options.Regional = rs;
    TTextLogReader reader(sink, options);
    TLineFeeder feeder(reader);
    feeder.Feed(text);
    feeder.Finish();
    contents.Date = reader.Summary().Date;
    contents.SkippedLines = reader.Summary().SkippedLines;
    return contents;
}

TLogContents ReadDataLog(const std::string& path, const TRegionalSettings& rs) {
    TLogFile file(path);
    TLogContents contents;
    TContentsSink sink(contents);
    TLogReadOptions options;
    options.Regional = rs;
    const TLogSummary summary = file.Read(sink, options);
    contents.Date = summary.Date;
    contents.SkippedLines = summary.SkippedLines;
    return contents;
}
