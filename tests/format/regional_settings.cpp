// Fixed regional settings, the process-wide setting and settings read from Qt locales.
#include <QLocale>

#include <gtest/gtest.h>

#include "format/Formatting.h"
#include "format/QtRegional.h"
#include "format/Regional.h"

namespace {

std::tm Moment() {
    std::tm t{};
    t.tm_year = 120;
    t.tm_mon = 9;
    t.tm_mday = 18;
    t.tm_hour = 14;
    t.tm_min = 3;
    t.tm_sec = 27;
    return t;
}

TEST(RegionalSettings, FixedSettings) {
    const TRegionalSettings en = EnglishRegionalSettings();
    EXPECT_EQ(en.DecimalSeparator, '.');
    EXPECT_EQ(en.ThousandSeparator, ',');
    EXPECT_EQ(en.ShortDateFormat, "m/d/yyyy");
    const TRegionalSettings comma = CommaRegionalSettings();
    EXPECT_EQ(comma.DecimalSeparator, ',');
    EXPECT_EQ(comma.ThousandSeparator, '.');
    EXPECT_EQ(comma.ShortDateFormat, "dd.mm.yyyy");
    EXPECT_EQ(comma.LongTimeFormat, "hh:nn:ss");
}

TEST(RegionalSettings, ProcessWideSettingIsUsedByDefault) {
    const TRegionalSettings saved = RegionalSettings();
    SetRegionalSettings(CommaRegionalSettings());
    EXPECT_EQ(FormatFloat("#0.000", 0.9), "0,900");
    EXPECT_EQ(FloatToStr(0.987), "0,987");
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_EQ(DateToStr(Moment()), "18.10.2020");
    SetRegionalSettings(EnglishRegionalSettings());
    EXPECT_EQ(FormatFloat("#0.000", 0.9), "0.900");
    SetRegionalSettings(saved);
}

struct LocaleCase {
    const char* Name;
    char Decimal;
    char Thousand;
    const char* Date;
    const char* Time;
    const char* DateText;
    const char* TimeText;
};

TEST(RegionalSettings, FromQtLocales) {
    const LocaleCase cases[] = {
        {"en_GB", '.', ',', "dd/mm/yyyy", "hh:nn:ss", "18/10/2020", "14:03:27"},
        {"en_US", '.', ',', "m/d/yy", "h:nn:ss AMPM", "10/18/20", "2:03:27 PM"},
        {"de_DE", ',', '.', "dd/mm/yy", "hh:nn:ss", "18.10.20", "14:03:27"},
        {"fr_FR", ',', ' ', "dd/mm/yyyy", "hh:nn:ss", "18/10/2020", "14:03:27"}, // U+202F
        {"fi_FI", ',', ' ', "d/m/yyyy", "h:nn:ss", "18.10.2020", "14.03.27"},
        {"sv_SE", ',', ' ', "yyyy/mm/dd", "hh:nn:ss", "2020-10-18", "14:03:27"},
        {"de_CH", '.', ' ', "dd/mm/yy", "hh:nn:ss", "18.10.20", "14:03:27"}, // U+2019
        {"ar_EG", '.', ' ', nullptr, "h:nn:ss AMPM", nullptr, nullptr},      // Arabic marks
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRegionalSettings rs = RegionalSettingsFromLocale(QLocale(c.Name));
        EXPECT_EQ(rs.DecimalSeparator, c.Decimal);
        EXPECT_EQ(rs.ThousandSeparator, c.Thousand);
        EXPECT_EQ(rs.LongTimeFormat, c.Time);
        if (c.Date != nullptr) {
            EXPECT_EQ(rs.ShortDateFormat, c.Date);
            EXPECT_EQ(DateToStr(Moment(), rs), c.DateText);
            EXPECT_EQ(TimeToStr(Moment(), rs), c.TimeText);
        }
    }
}

TEST(RegionalSettings, LiteralTextAndNamesFromQtLocales) {
    const TRegionalSettings ja = RegionalSettingsFromLocale(QLocale("ja_JP"));
    EXPECT_EQ(TimeToStr(Moment(), ja), "14時03分27秒");
    EXPECT_EQ(DateToStr(Moment(), ja), "2020/10/18");
    const TRegionalSettings ar = RegionalSettingsFromLocale(QLocale("ar_EG"));
    EXPECT_EQ(DateToStr(Moment(), ar), "18\u200F/10\u200F/2020");
    EXPECT_EQ(TimeToStr(Moment(), ar).substr(0, 8), "2:03:27 ");
    const TRegionalSettings c = RegionalSettingsFromLocale(QLocale::c());
    EXPECT_EQ(DateToStr(Moment(), c), "18 Oct 2020");
    const TRegionalSettings ru = RegionalSettingsFromLocale(QLocale("ru_RU"));
    EXPECT_EQ(ru.DecimalSeparator, ',');
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, ru), "1 234,50");
}

TEST(RegionalSettings, SystemLocaleGivesUsableSettings) {
    const TRegionalSettings rs = RegionalSettingsFromSystemLocale();
    EXPECT_NE(rs.DecimalSeparator, rs.ThousandSeparator);
    EXPECT_FALSE(rs.ShortDateFormat.empty());
    EXPECT_FALSE(rs.LongTimeFormat.empty());
    double v = 0;
    EXPECT_TRUE(TryStrToFloat(FloatToStr(0.987, rs), v, rs));
    EXPECT_DOUBLE_EQ(v, 0.987);
}

} // namespace
