// "Log Start" / "Log Stop" on the running window: file contents, regional formats, failures.
#include <QLabel>
#include <QPushButton>
#include <csignal>
#include <regex>
#include <sys/resource.h>
#include <unistd.h>

#include "UiHarness.h"
#include "format/Regional.h"
#include "monitor/MainWindow.h"
#include "widgets/AbLED.h"

using namespace std::chrono_literals;

class DataLogWindow : public UiHarness {
protected:
    void StartPolling(double lambda = 0.987, double volts = 12.5) {
        TSimConfig config;
        config.Live.Lambda = lambda;
        config.Live.SupplyVolts = volts;
        StartSimulator(1, config);
        PressOpen(1);
        ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked(); }, 1000));
    }
};

TEST_F(DataLogWindow, HeaderThenOneLinePerReplyInPointDecimal) {
    StartPolling();
    const std::string path = TempPath("run.txt");
    StartLogTo(path);
    EXPECT_TRUE(LogOn);
    EXPECT_TRUE(Form1->DiskLED->Checked());
    EXPECT_EQ(Form1->StaticText2->text().toStdString(), path);
    Pump(1000);
    Form1->LogStop->click();
    EXPECT_FALSE(LogOn);
    EXPECT_FALSE(Form1->DiskLED->Checked());
    EXPECT_EQ(Form1->StaticText2->text().toStdString(), path);

    auto lines = LogLines(ReadWholeFile(path));
    ASSERT_GE(lines.size(), 8u);
    EXPECT_LE(lines.size(), 13u);
    EXPECT_TRUE(
        std::regex_match(lines[0], std::regex(R"(WBX4100 Data Log V1\.0  \d{1,2}/\d{1,2}/\d{4})")))
        << lines[0];
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(R"(0\.987,\d\d:\d\d:\d\d, 12\.5)")))
            << lines[i];
    }
    EXPECT_TRUE(Errors.empty());
}

TEST_F(DataLogWindow, CommaDecimalSettingsKeepTheLayout) {
    SetRegionalSettings(CommaRegionalSettings());
    StartPolling();
    const std::string path = TempPath("comma.txt");
    StartLogTo(path);
    Pump(400);
    Form1->LogStop->click();
    auto lines = LogLines(ReadWholeFile(path));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(
        std::regex_match(lines[0], std::regex(R"(WBX4100 Data Log V1\.0  \d\d\.\d\d\.\d{4})")));
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(0,987,\d\d:\d\d:\d\d, 12,5)")))
        << lines[1];
}

TEST_F(DataLogWindow, StopWithoutLogAndCancelledDialogChangeNothing) {
    Form1->LogStop->click();
    EXPECT_FALSE(LogOn);
    EXPECT_TRUE(Errors.empty());
    StartLogTo("");
    EXPECT_FALSE(LogOn);
    EXPECT_FALSE(Form1->DiskLED->Checked());

    StartPolling();
    const std::string path = TempPath("kept.txt");
    StartLogTo(path);
    StartLogTo(""); // cancelling leaves the open log alone
    EXPECT_TRUE(LogOn);
    EXPECT_EQ(Logfile.FileName(), path);
}

TEST_F(DataLogWindow, ClosingTheWindowWhileLoggingLeavesACompleteFile) {
    StartPolling();
    const std::string path = TempPath("closed.txt");
    StartLogTo(path);
    Pump(350);
    Form1->close();
    EXPECT_FALSE(LogOn);
    const std::string text = ReadWholeFile(path);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_GE(LogLines(text).size(), 3u);
}

TEST_F(DataLogWindow, EachLineIsInTheFileWhileTheLogIsStillOpen) {
    StartPolling();
    const std::string path = TempPath("live.txt");
    StartLogTo(path);
    Pump(450);
    // Not closed, not stopped: the lines are already on disk.
    EXPECT_GE(LogLines(ReadWholeFile(path)).size(), 3u);
    EXPECT_TRUE(LogOn);
}

TEST_F(DataLogWindow, WriteFailureIsReportedOnceAndPollingGoesOn) {
    StartPolling();
    const std::string path = TempPath("full.txt");
    ASSERT_EQ(symlink("/dev/full", path.c_str()), 0);
    StartLogTo(path);
    // The header already fails: one message, the log is shown stopped.
    Pump(500);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("No space left on device"), std::string::npos) << Errors[0];
    EXPECT_FALSE(LogOn);
    EXPECT_FALSE(Form1->DiskLED->Checked());
    const size_t before = Sim->RequestCount();
    Pump(300);
    EXPECT_GT(Sim->RequestCount(), before + 1);
    EXPECT_TRUE(Form1->ONLINE->Checked());
    EXPECT_EQ(Errors.size(), 1u);
}

TEST_F(DataLogWindow, StartWhileLoggingFinishesTheFirstFile) {
    StartPolling();
    const std::string first = TempPath("first.txt");
    const std::string second = TempPath("second.txt");
    StartLogTo(first);
    Pump(350);
    StartLogTo(second);
    const std::string firstText = ReadWholeFile(first);
    Pump(350);
    // The first file no longer grows and ends with a whole line.
    EXPECT_EQ(ReadWholeFile(first), firstText);
    EXPECT_EQ(firstText.substr(firstText.size() - 2), "\r\n");
    EXPECT_GE(LogLines(ReadWholeFile(second)).size(), 2u);
    EXPECT_EQ(Logfile.FileName(), second);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(DataLogWindow, DiskFillingUpMidLogKeepsEveryCompleteLine) {
    StartPolling();
    const std::string path = TempPath("full.txt");
    StartLogTo(path);
    Pump(250);
    // The file may grow by one and a half lines more, as on a disk about to fill up.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = ReadWholeFile(path).size() + 30;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Pump(500);
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_FALSE(LogOn);
    EXPECT_FALSE(Form1->DiskLED->Checked());
    auto lines = LogLines(ReadWholeFile(path));
    ASSERT_GE(lines.size(), 3u);
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(R"(0\.987,\d\d:\d\d:\d\d, 12\.5)")))
            << lines[i];
    }
    EXPECT_TRUE(Form1->ONLINE->Checked());
}
