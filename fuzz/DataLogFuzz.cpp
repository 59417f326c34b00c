// Fuzz target: a data log read back for the chart's replay, whatever the file holds.
//
// Input: byte 0 picks the regional settings (low three bits: decimal point or comma; bit 3:
// 12-hour times with AM/PM; bit 4: the month written as a name in the date); the rest is the
// file's text.
//
// Checks: a text that starts with the log's header is read, any other is refused as no log.
// Every line after the header is either a reading or counted as skipped (blank lines at the
// end are neither). Times never go back by more than 12 hours (a clock set back); lambda and
// volts are finite and within 0 to 100. Each reading, written again by the
// program's own log code, reads back as the same time and the same lambda (to the 15 digits the log
// keeps).
#include <cmath>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "datalog/LogFormat.h"
#include "datalog/LogReader.h"

namespace {

TRegionalSettings Settings(uint8_t choice) {
    TRegionalSettings rs = FuzzRegionalSettings(choice & 7);
    if (choice & 8) {
        rs.LongTimeFormat = "h:nn:ss AMPM";
    }
    if (choice & 16) {
        rs.ShortDateFormat = "d mmm yyyy";
    }
    return rs;
}

size_t LinesAfterHeader(std::string_view text) {
    size_t lines = 0;
    for (size_t at = 0; at < text.size(); ++lines) {
        const size_t end = text.find('\n', at);
        at = end == std::string_view::npos ? text.size() : end + 1;
    }
    return lines == 0 ? 0 : lines - 1;
}

std::tm TimeOfDay(double seconds) {
    const long whole = static_cast<long>(std::floor(seconds)) % 86400;
    std::tm t{};
    t.tm_year = 2020 - 1900;
    t.tm_mday = 1;
    t.tm_hour = static_cast<int>(whole / 3600);
    t.tm_min = static_cast<int>(whole / 60 % 60);
    t.tm_sec = static_cast<int>(whole % 60);
    return t;
}

void CheckWrittenAgain(const TLogReading& reading, const TRegionalSettings& rs) {
    const std::tm t = TimeOfDay(reading.Seconds);
    const std::string text =
        LogHeaderLine(t, rs) + "\r\n" + LogDataLine(reading.Lambda, t, reading.Volts, rs) + "\r\n";
    const TLogContents again = ParseDataLog(text, rs);
    FUZZ_CHECK(again.SkippedLines == 0 && again.Readings.size() == 1);
    FUZZ_CHECK(again.Readings[0].Seconds == std::fmod(std::floor(reading.Seconds), 86400));
    const double lambda = again.Readings[0].Lambda;
    FUZZ_CHECK(std::fabs(lambda - reading.Lambda) <= 1e-14 * std::fabs(reading.Lambda));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFuzzInput in(data, size);
    const TRegionalSettings rs = Settings(in.Byte());
    const std::string text = in.Rest();
    TLogContents log;
    try {
        log = ParseDataLog(text, rs);
    } catch (const ELogFormatError&) {
        FUZZ_CHECK(!text.starts_with("WBX4100 Data Log V"));
        return 0;
    }
    FUZZ_CHECK(text.starts_with("WBX4100 Data Log V"));
    FUZZ_CHECK(log.Readings.size() + log.SkippedLines <= LinesAfterHeader(text));
    double previous = 0;
    for (const TLogReading& r : log.Readings) {
        // Whole seconds: the readings of one second are spread over it.
        FUZZ_CHECK(std::isfinite(r.Seconds) &&
                   std::floor(r.Seconds) >= std::floor(previous) - 12 * 3600);
        previous = r.Seconds;
        FUZZ_CHECK(std::isfinite(r.Lambda) && r.Lambda >= 0 && r.Lambda <= 100);
        FUZZ_CHECK(std::isfinite(r.Volts) && r.Volts >= 0 && r.Volts <= 100);
        CheckWrittenAgain(r, rs);
    }
    return 0;
}
