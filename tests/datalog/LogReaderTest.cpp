// Reading data logs back: both decimal forms, both line ends, midnight, torn and unreadable
// lines, files that are no log, and logs written by the program's own log code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "datalog/DataLog.h"
#include "datalog/LogFormat.h"
#include "datalog/LogReader.h"

namespace {

constexpr double At140327 = 14 * 3600 + 3 * 60 + 27;

class TempFolder {
public:
    TempFolder() {
        char tmpl[] = "/tmp/uego-logreader-XXXXXX";
        Path = ::mkdtemp(tmpl);
    }
    ~TempFolder() { std::system(("rm -rf '" + Path + "'").c_str()); }
    std::string File(const std::string& name, const std::string& content = {}) const {
        const std::string path = Path + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string Path;
};

} // namespace

TEST(LogReader, ReadsPointAndCommaDecimalsWithEitherLineEnd) {
    const TRegionalSettings rs = EnglishRegionalSettings();
    for (const char* end : {"\r\n", "\n"}) {
        const std::string e = end;
        for (const std::string& line :
             {std::string("0.987,14:03:27, 12.5"), std::string("0,987,14:03:27, 12,5")}) {
            const TLogContents log = ParseDataLog(
                "WBX4100 Data Log V1.0  10/18/2020" + e + line + e + "1,14:03:27, 0.0" + e, rs);
            ASSERT_EQ(log.Readings.size(), 2u) << line;
            EXPECT_EQ(log.SkippedLines, 0u);
            EXPECT_DOUBLE_EQ(log.Readings[0].Lambda, 0.987);
            EXPECT_DOUBLE_EQ(log.Readings[0].Volts, 12.5);
            EXPECT_DOUBLE_EQ(log.Readings[0].Seconds, At140327);
            EXPECT_DOUBLE_EQ(log.Readings[1].Lambda, 1.0);
            ASSERT_TRUE(log.Date.has_value());
            EXPECT_EQ(log.Date->Year, 2020);
            EXPECT_EQ(log.Date->Month, 10);
            EXPECT_EQ(log.Date->Day, 18);
        }
    }
}

TEST(LogReader, TimeGoingBackwardsCrossesMidnight) {
    const TLogContents log = ParseDataLog("WBX4100 Data Log V1.0  10/18/2020\r\n"
                                          "0.9,23:59:59, 12.5\r\n"
                                          "0.9,00:00:00, 12.5\r\n"
                                          "0.9,00:00:01, 12.5\r\n",
                                          EnglishRegionalSettings());
    ASSERT_EQ(log.Readings.size(), 3u);
    EXPECT_DOUBLE_EQ(log.Readings[0].Seconds, 86399);
    EXPECT_DOUBLE_EQ(log.Readings[1].Seconds, 86400);
    EXPECT_DOUBLE_EQ(log.Readings[2].Seconds, 86401);
}

TEST(LogReader, TornAndUnreadableLinesAreSkippedAndCounted) {
    const TLogContents log = ParseDataLog("WBX4100 Data Log V1.0  10/18/2020\r\n"
                                          "0.987,14:03:27, 12.5\r\n"
                                          "\x01\x02garbage\r\n"
                                          "0.987,25:03:27, 12.5\r\n" // no such hour
                                          "\r\n"
                                          "0.988,14:03:28, 12.5\r\n"
                                          "0.98", // torn: no line end
                                          EnglishRegionalSettings());
    ASSERT_EQ(log.Readings.size(), 2u);
    EXPECT_EQ(log.SkippedLines, 4u);
    EXPECT_DOUBLE_EQ(log.Readings[1].Lambda, 0.988);
    // A torn last line that still looks whole is not taken either: the writer ends every line.
    EXPECT_EQ(ParseDataLog("WBX4100 Data Log V1.0  \r\n0.987,14:03:27, 1", {}).SkippedLines, 1u);
}

TEST(LogReader, AFileThatIsNoLogIsTurnedDownByName) {
    TempFolder folder;
    for (const std::string& content : {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
                                       std::string("0.987,14:03:27, 12.5\r\n"), std::string()}) {
        const std::string path = folder.File("other.txt", content);
        try {
            ReadDataLog(path);
            ADD_FAILURE() << "read as a log: " << content;
        } catch (const ELogFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("not a WBX4100 data log"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_THROW(ReadDataLog(folder.Path + "/missing.txt"), EInOutError);
}

TEST(LogReader, ReadsBackWhatTheProgramsLogCodeWrote) {
    TRegionalSettings twelveHour = EnglishRegionalSettings();
    twelveHour.LongTimeFormat = "h:nn:ss AMPM";
    twelveHour.ShortDateFormat = "d mmm yyyy";
    for (const TRegionalSettings& rs : {CommaRegionalSettings(), twelveHour}) {
        TempFolder folder;
        const std::string path = folder.Path + "/run.txt";
        std::tm t{};
        t.tm_year = 2021 - 1900;
        t.tm_mon = 1;
        t.tm_mday = 3;
        t.tm_hour = 23;
        t.tm_min = 59;
        TDataLog log;
        log.Create(path);
        log.WriteLine(LogHeaderLine(t, rs));
        // Ten readings in second 23:59:58, four in 23:59:59, one past midnight.
        for (int i = 0; i < 15; ++i) {
            t.tm_sec = i < 10 ? 58 : 59;
            if (i == 14) {
                t.tm_hour = t.tm_min = t.tm_sec = 0;
            }
            log.WriteLine(LogDataLine(0.7 + i * 0.05, t, 12.4992, rs));
        }
        log.Close();

        const TLogContents back = ReadDataLog(path, rs);
        EXPECT_EQ(back.SkippedLines, 0u);
        ASSERT_TRUE(back.Date.has_value());
        EXPECT_EQ(back.Date->Year, 2021);
        EXPECT_EQ(back.Date->Month, 2);
        EXPECT_EQ(back.Date->Day, 3);
        ASSERT_EQ(back.Readings.size(), 15u);
        for (int i = 0; i < 15; ++i) {
            EXPECT_NEAR(back.Readings[i].Lambda, 0.7 + i * 0.05, 1e-12);
            EXPECT_DOUBLE_EQ(back.Readings[i].Volts, 12.5);
        }
        // The readings of one second are spread over it.
        EXPECT_DOUBLE_EQ(back.Readings[0].Seconds, 86398);
        EXPECT_DOUBLE_EQ(back.Readings[9].Seconds, 86398.9);
        EXPECT_DOUBLE_EQ(back.Readings[11].Seconds, 86399.25);
        EXPECT_DOUBLE_EQ(back.Readings[14].Seconds, 86400);
    }
}
