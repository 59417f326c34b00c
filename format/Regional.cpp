#include "format/Regional.h"

TRegionalSettings EnglishRegionalSettings() {
    TRegionalSettings rs;
    rs.DecimalSeparator = '.';
    rs.ThousandSeparator = ',';
    rs.DateSeparator = '/';
    rs.TimeSeparator = ':';
    rs.ShortDateFormat = "m/d/yyyy";
    rs.LongTimeFormat = "hh:nn:ss";
    rs.TimeAMString = "AM";
    rs.TimePMString = "PM";
    return rs;
}

TRegionalSettings CommaRegionalSettings() {
    TRegionalSettings rs;
    rs.DecimalSeparator = ',';
    rs.ThousandSeparator = '.';
    rs.DateSeparator = '.';
    rs.TimeSeparator = ':';
    rs.ShortDateFormat = "dd.mm.yyyy";
    rs.LongTimeFormat = "hh:nn:ss";
    rs.TimeAMString = "AM";
    rs.TimePMString = "PM";
    return rs;
}

namespace {

// Written once on the UI thread at start, before any worker thread formats text.
TRegionalSettings& ProcessSettings() {
    static TRegionalSettings settings = EnglishRegionalSettings();
    return settings;
}

} // namespace

const TRegionalSettings& RegionalSettings() {
    return ProcessSettings();
}

void SetRegionalSettings(const TRegionalSettings& settings) {
    ProcessSettings() = settings;
}
