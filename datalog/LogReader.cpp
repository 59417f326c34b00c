#include "LogReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "datalog/LogFormat.h"

namespace {

// "WBX4100 Data Log V": the header without its version and date.
constexpr std::string_view HeaderStart = LogHeaderTitle.substr(0, LogHeaderTitle.find(" V") + 2);

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// The runs of digits in `text`, at most `max` of them.
std::vector<int> DigitRuns(std::string_view text, size_t max) {
    std::vector<int> runs;
    size_t i = 0;
    while (i < text.size() && runs.size() < max) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        int value = 0;
        const auto [end, error] =
            std::from_chars(text.data() + i, text.data() + text.size(), value);
        if (error != std::errc()) {
            return {};
        }
        runs.push_back(value);
        i = static_cast<size_t>(end - text.data());
    }
    return runs;
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

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// Hours, minutes and seconds (when there), with an AM/PM mark moving the hours.
std::optional<int> ParseTimeOfDay(std::string_view text, const TRegionalSettings& rs) {
    const std::vector<int> parts = DigitRuns(text, 3);
    if (parts.size() < 2) {
        return std::nullopt;
    }
    int hour = parts[0];
    const int minute = parts[1];
    const int second = parts.size() > 2 ? parts[2] : 0;
    const std::string upper = Upper(text);
    const auto has = [&upper](const std::string& mark) {
        return !mark.empty() && upper.find(Upper(mark)) != std::string::npos;
    };
    if (has(rs.TimePMString) || has("PM")) {
        hour = hour % 12 + 12;
    } else if (has(rs.TimeAMString) || has("AM")) {
        hour = hour % 12;
    }
    if (hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return hour * 3600 + minute * 60 + second;
}

// The order of day, month and year in the short date picture ('d', 'm', 'y'), with 'M' for
// a month written as a name ("mmm", "mmmm"); empty when the picture lacks one of them.
std::string DateFieldOrder(const std::string& picture) {
    std::string order;
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '"' || c == '\'') {
            const size_t close = picture.find(c, i + 1);
            i = close == std::string::npos ? picture.size() : close + 1;
            continue;
        }
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t run = 1;
        while (i + run < picture.size() && std::tolower(picture[i + run]) == lower) {
            ++run;
        }
        i += run;
        const bool dayName = lower == 'd' && run > 2;
        const bool seen = order.find(lower) != std::string::npos ||
                          (lower == 'm' && order.find('M') != std::string::npos);
        if ((lower == 'd' || lower == 'm' || lower == 'y') && !dayName && !seen) {
            order += lower == 'm' && run > 2 ? 'M' : lower;
        }
    }
    return order.size() == 3 ? order : std::string();
}

// The month of the first English month name (or its first three letters) in `text`; 0 for none.
int MonthNamed(std::string_view text) {
    static const char* const names[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const std::string upper = Upper(text);
    for (size_t i = 0; i + 3 <= upper.size(); ++i) {
        if (i > 0 && std::isalpha(static_cast<unsigned char>(upper[i - 1]))) {
            continue;
        }
        for (int month = 0; month < 12; ++month) {
            if (upper.compare(i, 3, names[month]) == 0) {
                return month + 1;
            }
        }
    }
    return 0;
}

std::optional<TLogDate> ParseDate(std::string_view text, const TRegionalSettings& rs) {
    const std::string order = DateFieldOrder(rs.ShortDateFormat);
    const bool monthNamed = order.find('M') != std::string::npos;
    const std::vector<int> parts = DigitRuns(text, monthNamed ? 2 : 3);
    if (order.empty() || parts.size() < (monthNamed ? 2u : 3u)) {
        return std::nullopt;
    }
    TLogDate date;
    size_t next = 0;
    for (const char field : order) {
        if (field == 'M') {
            date.Month = MonthNamed(text);
        } else {
            (field == 'd' ? date.Day : field == 'm' ? date.Month : date.Year) = parts[next++];
        }
    }
    if (date.Year < 100) {
        date.Year += 2000;
    }
    if (date.Month < 1 || date.Month > 12 || date.Day < 1 || date.Day > 31) {
        return std::nullopt;
    }
    return date;
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

// The header's date: the text after the version.
std::optional<TLogDate> HeaderDate(std::string_view header, const TRegionalSettings& rs) {
    std::string_view rest = header.substr(HeaderStart.size());
    const size_t space = rest.find(' ');
    if (space == std::string_view::npos) {
        return std::nullopt;
    }
    return ParseDate(Trim(rest.substr(space)), rs);
}

// Readings that share a whole second are spread evenly over it.
void SpreadWithinSeconds(std::vector<TLogReading>& readings) {
    size_t first = 0;
    while (first < readings.size()) {
        size_t last = first + 1;
        while (last < readings.size() && readings[last].Seconds == readings[first].Seconds) {
            ++last;
        }
        const double count = static_cast<double>(last - first);
        for (size_t i = first; i < last; ++i) {
            readings[i].Seconds += static_cast<double>(i - first) / count;
        }
        first = last;
    }
}

TLogContents Parse(std::string_view text, const TRegionalSettings& rs, const std::string& name) {
    size_t pos = 0;
    bool header = true;
    TLogContents contents;
    int day = 0;
    int previousSecond = -1;
    while (pos < text.size()) {
        const size_t newline = text.find('\n', pos);
        const bool ended = newline != std::string_view::npos;
        std::string_view line = text.substr(pos, (ended ? newline : text.size()) - pos);
        pos = ended ? newline + 1 : text.size();
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (header) {
            if (!line.starts_with(HeaderStart)) {
                break;
            }
            header = false;
            contents.Date = HeaderDate(line, rs);
            continue;
        }
        TLineValues values;
        if (!ended || !ParseReadingLine(line, rs, values)) {
            ++contents.SkippedLines;
            continue;
        }
        if (values.SecondOfDay < previousSecond) {
            ++day;
        }
        previousSecond = values.SecondOfDay;
        contents.Readings.push_back(
            {day * 86400.0 + values.SecondOfDay, values.Lambda, values.Volts});
    }
    if (text.empty()) {
        throw ELogFormatError(name + " is empty: it is not a WBX4100 data log.");
    }
    if (header) {
        throw ELogFormatError(name +
                              " is not a WBX4100 data log: its first line does not start "
                              "with \"" +
                              std::string(HeaderStart) + "\".");
    }
    SpreadWithinSeconds(contents.Readings);
    return contents;
}

std::string ErrorText(const std::string& path, int error) {
    return "Cannot read " + path + ": " + std::strerror(error) + " (" + std::to_string(error) + ")";
}

// The first `limit` bytes of the file, or all of it.
std::string ReadFileStart(int fd, const std::string& path, size_t limit) {
    std::string data;
    char buffer[65536];
    while (data.size() < limit) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - data.size()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw EInOutError(ErrorText(path, errno));
        }
        if (n == 0) {
            break;
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    return data;
}

class TFileHandle {
public:
    explicit TFileHandle(int fd) : Fd(fd) {}
    ~TFileHandle() { ::close(Fd); }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    const int Fd;
};

} // namespace

TLogContents ParseDataLog(std::string_view text, const TRegionalSettings& rs) {
    return Parse(text, rs, "The text");
}

TLogContents ReadDataLog(const std::string& path, const TRegionalSettings& rs) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw EInOutError(ErrorText(path, errno));
    }
    TFileHandle file(fd);
    const std::string name = "\"" + path + "\"";
    // The header first, so a large file that is no log is turned down without reading it all.
    std::string text = ReadFileStart(file.Fd, path, HeaderStart.size());
    if (!std::string_view(text).starts_with(HeaderStart)) {
        return Parse(text, rs, name);
    }
    text += ReadFileStart(file.Fd, path, std::string::npos);
    return Parse(text, rs, name);
}
