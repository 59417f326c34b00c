#include "MslLog.h"

#include <charconv>
#include <cstdio>

#include "LogNumbers.h"

#ifndef UEGO4100_VERSION
#define UEGO4100_VERSION "unknown"
#endif

namespace {

// The shortest text that reads back as `value`: 14.7, 9.765.
std::string ShortestText(double value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

} // namespace

std::string MslTitleLine() {
    return "\"UEGO 4100 Interface " UEGO4100_VERSION "\"";
}

std::vector<std::string> TMslLogWriter::Header(TWallTime start) const {
    return {MslTitleLine(), "\"Capture Date: " + IsoLocalTime(start) + "\"",
            "\"Fuel: " + FFuel.Name + ", stoichiometric AFR " + ShortestText(FFuel.Stoichiometric) +
                "\"",
            "Time\tLambda\tAFR\tSupply\tWarmup", "s\tlambda\tAFR\tV\t"};
}

std::string TMslLogWriter::Reading(const TLogRecord& r) const {
    return FixedText(r.Elapsed, 3) + '\t' + FixedText(r.Lambda, 3) + '\t' +
           FixedText(r.Lambda * FFuel.Stoichiometric, 2) + '\t' + FixedText(r.Volts, 1) + '\t' +
           (r.Warmup ? '1' : '0');
}

std::string TMslLogWriter::Marker(const TLogMarker& marker) const {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", marker.Number);
    return std::string("MARK  ") + number + " - " + marker.Text + " - " + IsoLocalTime(marker.Wall);
}
