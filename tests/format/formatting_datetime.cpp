// Date and time pictures for a fixed moment in both regional settings.
#include <gtest/gtest.h>

#include "format/Formatting.h"

namespace {

// Thursday 8 October 2020, 14:03:07.
std::tm Moment(int hour = 14) {
    std::tm t{};
    t.tm_year = 120;
    t.tm_mon = 9;
    t.tm_mday = 8;
    t.tm_wday = 4;
    t.tm_hour = hour;
    t.tm_min = 3;
    t.tm_sec = 7;
    return t;
}

const TRegionalSettings en = EnglishRegionalSettings();
const TRegionalSettings comma = CommaRegionalSettings();

TEST(FormattingDateTime, ShortDateAndLongTime) {
    EXPECT_EQ(DateToStr(Moment(), en), "10/8/2020");
    EXPECT_EQ(TimeToStr(Moment(), en), "14:03:07");
    EXPECT_EQ(DateToStr(Moment(), comma), "08.10.2020");
    EXPECT_EQ(TimeToStr(Moment(), comma), "14:03:07");
    TRegionalSettings british = en;
    british.ShortDateFormat = "dd/mm/yyyy";
    EXPECT_EQ(DateToStr(Moment(), british), "08/10/2020");
}

TEST(FormattingDateTime, SeparatorsComeFromTheSettings) {
    TRegionalSettings rs = en;
    rs.DateSeparator = '-';
    rs.TimeSeparator = '.';
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", Moment(), rs), "2020-10-08 14.03.07");
    EXPECT_EQ(FormatDateTime("'a/b:c' \"x:y\"", Moment(), rs), "a/b:c x:y");
}

TEST(FormattingDateTime, MinutesAfterHours) {
    EXPECT_EQ(FormatDateTime("hh:mm", Moment(), en), "14:03");
    EXPECT_EQ(FormatDateTime("h:m", Moment(), en), "14:3");
    EXPECT_EQ(FormatDateTime("mm/dd hh:mm", Moment(), en), "10/08 14:03");
    EXPECT_EQ(FormatDateTime("hh dd mm", Moment(), en), "14 08 10"); // a day field in between
}

TEST(FormattingDateTime, TwelveHourClock) {
    EXPECT_EQ(FormatDateTime("h:nn AMPM", Moment(14), en), "2:03 PM");
    EXPECT_EQ(FormatDateTime("hh:nn am/pm", Moment(0), en), "12:03 am");
    EXPECT_EQ(FormatDateTime("h:nn AM/PM", Moment(12), en), "12:03 PM");
    EXPECT_EQ(FormatDateTime("h a/p", Moment(9), en), "9 a");
    TRegionalSettings rs = en;
    rs.TimeAMString = "vorm.";
    rs.TimePMString = "nachm.";
    EXPECT_EQ(FormatDateTime("h:nn ampm", Moment(14), rs), "2:03 nachm.");
}

TEST(FormattingDateTime, NamesAndYears) {
    EXPECT_EQ(FormatDateTime("ddd d mmm yy", Moment(), en), "Thu 8 Oct 20");
    EXPECT_EQ(FormatDateTime("dddd, mmmm d, yyyy", Moment(), en), "Thursday, October 8, 2020");
    std::tm bad = Moment();
    bad.tm_mon = 14;
    bad.tm_wday = -1;
    EXPECT_EQ(FormatDateTime("ddd mmm", bad, en), "? ?");
}

TEST(FormattingDateTime, LocalNowIsACalendarTime) {
    const std::tm now = LocalNow();
    EXPECT_GE(now.tm_year, 120);
    EXPECT_GE(now.tm_mday, 1);
    EXPECT_LE(now.tm_mday, 31);
}

} // namespace
