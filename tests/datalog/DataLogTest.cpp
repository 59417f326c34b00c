// Data log file: line ends, per-line durability, write failures, re-creation.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "datalog/DataLog.h"
#include "datalog/LogFormat.h"
#include "platform/Exception.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class DataLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/uego-log-XXXXXX";
        Dir = mkdtemp(tmpl);
        Path = Dir + "/log.txt";
    }
    void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }
    std::string Dir;
    std::string Path;
};

} // namespace

TEST_F(DataLogTest, LinesEndWithCrLfAndReachTheFileAtOnce) {
    TDataLog log;
    log.Create(Path);
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(ReadFile(Path), "");
    log.WriteLine("WBX4100 Data Log V1.0  10/18/2020");
    log.WriteLine("0.987,14:03:27, 12.5");
    // Read through another descriptor while the log is still open: nothing waits in a buffer.
    EXPECT_EQ(ReadFile(Path), "WBX4100 Data Log V1.0  10/18/2020\r\n0.987,14:03:27, 12.5\r\n");
    log.Close();
    EXPECT_FALSE(log.IsOpen());
    log.Close(); // closing twice is harmless
}

TEST_F(DataLogTest, CreateEmptiesAnExistingFile) {
    { std::ofstream(Path) << "old content that must go\n"; }
    TDataLog log;
    log.Create(Path);
    log.WriteLine("x");
    log.Close();
    EXPECT_EQ(ReadFile(Path), "x\r\n");
}

TEST_F(DataLogTest, CreateInMissingFolderThrowsAndStaysClosed) {
    TDataLog log;
    try {
        log.Create(Dir + "/no/such/folder/log.txt");
        FAIL() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
    }
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(DataLogTest, CreateWhileOpenClosesTheFirstFileComplete) {
    TDataLog log;
    log.Create(Path);
    log.WriteLine("first");
    log.Create(Dir + "/second.txt");
    log.WriteLine("second");
    EXPECT_EQ(ReadFile(Path), "first\r\n");
    EXPECT_EQ(log.FileName(), Dir + "/second.txt");
    EXPECT_EQ(ReadFile(Dir + "/second.txt"), "second\r\n");
}

TEST(DataLogDevice, WriteToFullDeviceClosesTheLogAndReportsOnce) {
    TDataLog log;
    log.Create("/dev/full");
    try {
        log.WriteLine("0.987,14:03:27, 12.5");
        FAIL() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos);
    }
    EXPECT_FALSE(log.IsOpen());
    // Further lines are refused as "not open" rather than retried against the device.
    EXPECT_THROW(log.WriteLine("x"), EInOutError);
}

TEST_F(DataLogTest, TornLineIsCutOffWhenTheFileCannotGrow) {
    // A file-size limit makes the kernel accept part of a line and refuse the rest, which is
    // what a filling disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    TDataLog log;
    log.Create(Path);
    log.WriteLine("header");   // 8 bytes
    log.WriteLine("line one"); // 10 bytes
    rlimit small = old;
    small.rlim_cur = 24; // room for 6 more bytes only
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(log.WriteLine("line two"), EInOutError);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(ReadFile(Path), "header\r\nline one\r\n");
}
