// Reading a text log back where its clock, its header or the file itself could mislead: a
// clock set back a second, a date written under other regional settings, a pipe in place of
// a file, and values no reading can have.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "datalog/LogReader.h"

using namespace std::chrono_literals;

TEST(LogReadBack, AClockSetBackASecondKeepsTheRestOfTheLogOnItsDay) {
    std::string text = "WBX4100 Data Log V1.0  10/18/2020\r\n";
    // Two seconds of readings, then the clock steps back one second and runs on.
    for (const char* second : {"14:00:00", "14:00:01", "14:00:00", "14:00:01", "14:00:02"}) {
        for (int i = 0; i < 10; ++i) {
            text += std::string("0.9,") + second + ", 12.5\r\n";
        }
    }
    const TLogContents log = ParseDataLog(text, EnglishRegionalSettings());
    ASSERT_EQ(log.Readings.size(), 50u);
    size_t elsewhere = 0;
    for (const TLogReading& reading : log.Readings) {
        elsewhere += reading.Seconds < 14 * 3600 || reading.Seconds >= 14 * 3600 + 3 ? 1 : 0;
    }
    EXPECT_EQ(elsewhere, 0u) << "readings not within 14:00:00 to 14:00:02 on the log's day";
}

TEST(LogReadBack, AHeaderDateIsReadInTheFormatThatWroteIt) {
    struct TCase {
        const char* Written;
        TRegionalSettings Reader;
        int Year, Month, Day;
    };
    const TRegionalSettings english = EnglishRegionalSettings(); // m/d/yyyy
    const TRegionalSettings german = CommaRegionalSettings();    // dd.mm.yyyy
    for (const TCase& c : {
             TCase{"03.04.2024", english, 2024, 4, 3},  // German date, English reader
             TCase{"10/18/2020", german, 2020, 10, 18}, // American date, German reader
             TCase{"18/10/2020", english, 2020, 10, 18},
             TCase{"2024-04-03", german, 2024, 4, 3},
             TCase{"4/3/2024", english, 2024, 4, 3}, // the reader's own format
             TCase{"03.04.2024", german, 2024, 4, 3},
         }) {
        const TLogContents log =
            ParseDataLog(std::string("WBX4100 Data Log V1.0  ") + c.Written + "\r\n", c.Reader);
        ASSERT_TRUE(log.Date.has_value()) << c.Written;
        EXPECT_EQ(log.Date->Year, c.Year) << c.Written;
        EXPECT_EQ(log.Date->Month, c.Month) << c.Written;
        EXPECT_EQ(log.Date->Day, c.Day) << c.Written;
    }
    for (const char* unreadable : {"31.02.2024", "someday", "13/13/2024"}) {
        EXPECT_FALSE(
            ParseDataLog(std::string("WBX4100 Data Log V1.0  ") + unreadable + "\r\n", english)
                .Date.has_value())
            << unreadable;
    }
}

TEST(LogReadBack, APipeIsRefusedWithoutWaitingForAWriter) {
    char tmpl[] = "/tmp/uego-fifo-XXXXXX";
    const std::string folder = ::mkdtemp(tmpl);
    const std::string pipe = folder + "/drive.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Should the reader wait on the pipe, a writer comes after two seconds and lets it go, so
    // the test ends either way.
    std::atomic<bool> returned{false};
    std::thread writer([&] {
        for (int i = 0; i < 200 && !returned; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
        }
    });
    try {
        ReadDataLog(pipe);
        ADD_FAILURE() << "a pipe was read as a log";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("only a regular file"), std::string::npos) << e.what();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "waited for a writer, then: " << e.what();
    }
    returned = true;
    writer.join();
    std::system(("rm -rf '" + folder + "'").c_str());
}

TEST(LogReadBack, ValuesNoReadingCanHaveAreSkippedAndCounted) {
    const TLogContents log = ParseDataLog("WBX4100 Data Log V1.0  10/18/2020\r\n"
                                          "1e308,14:00:00, 12.5\r\n"
                                          "0.9,14:00:00, 1e308\r\n"
                                          "100.5,14:00:00, 12.5\r\n"
                                          "0.9,14:00:00, 250.0\r\n"
                                          "0.9,14:00:01, 12.5\r\n",
                                          EnglishRegionalSettings());
    ASSERT_EQ(log.Readings.size(), 1u);
    EXPECT_EQ(log.SkippedLines, 4u);
}
