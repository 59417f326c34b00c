// Log line text in point-decimal and comma-decimal regional settings.
#include <gtest/gtest.h>

#include "datalog/LogFormat.h"

namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

} // namespace

TEST(LogFormat, HeaderAndLinesInPointDecimalSettings) {
    TRegionalSettings rs = EnglishRegionalSettings();
    rs.ShortDateFormat = "dd/mm/yyyy";
    std::tm t = At(2020, 10, 18, 14, 3, 27);
    EXPECT_EQ(LogHeaderLine(t, rs), "WBX4100 Data Log V1.0  18/10/2020");
    EXPECT_EQ(LogDataLine(0.987, t, 12.4992, rs), "0.987,14:03:27, 12.5");
    EXPECT_EQ(LogDataLine(1.0, t, 0.0, rs), "1,14:03:27, 0.0");
    EXPECT_EQ(LogDataLine(59.395, t, 15.93648, rs), "59.395,14:03:27, 15.9");
}

TEST(LogFormat, CommaDecimalKeepsTheLayout) {
    TRegionalSettings rs = CommaRegionalSettings();
    std::tm t = At(2020, 10, 18, 9, 5, 7);
    EXPECT_EQ(LogHeaderLine(t, rs), "WBX4100 Data Log V1.0  18.10.2020");
    EXPECT_EQ(LogDataLine(0.987, t, 12.4992, rs), "0,987,09:05:07, 12,5");
}
