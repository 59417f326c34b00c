#include "CsvLog.h"

#include <cstdio>

#include "LogNumbers.h"

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::vector<std::string> TCsvLogWriter::Header(TWallTime /*start*/) const {
    return {std::string(CsvHeaderRow)};
}

std::string TCsvLogWriter::Reading(const TLogRecord& r) const {
    return FixedText(r.Elapsed, 3) + ',' + IsoLocalTime(r.Wall) + ',' + FixedText(r.Lambda, 3) +
           ',' + FixedText(r.Lambda * FFuel.Stoichiometric, 2) + ',' + FixedText(r.Volts, 1) + ',' +
           (r.Warmup ? '1' : '0') + ',';
}

std::string TCsvLogWriter::Marker(const TLogMarker& marker) const {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", marker.Number);
    return FixedText(marker.Elapsed, 3) + ',' + IsoLocalTime(marker.Wall) + ",,,,," +
           CsvField(std::string(number) + " - " + marker.Text);
}
