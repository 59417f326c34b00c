#include "sim/SimOptions.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempDir.h"
#include "tests/support/ChildProcess.h"

namespace {

bool Parse(const std::vector<std::string>& args, TSimProgramOptions& options) {
    std::string error;
    options = DefaultSimProgramOptions();
    return ParseSimOptions(args, options, error);
}

TEST(SimOptions, DefaultsSuitADemonstration) {
    const TSimProgramOptions options = DefaultSimProgramOptions();
    EXPECT_EQ(options.Port, 1);
    EXPECT_TRUE(options.Config.Live.Sweep);
    EXPECT_DOUBLE_EQ(options.Config.Live.WarmupSeconds, 3.0);
    EXPECT_EQ(options.Config.Cal, 1000);
    EXPECT_EQ(options.Config.Firmware, 12);
    EXPECT_EQ(options.Config.CanSpeed, 1);
    EXPECT_EQ(options.Config.Scenario, TSimScenario());
}

TEST(SimOptions, ValuesInBothSpellings) {
    TSimProgramOptions o;
    ASSERT_TRUE(Parse({"--port", "5", "--port-dir=/tmp/x", "--lambda", "0.95", "--warmup=0",
                       "--volts", "12", "--cal", "1155", "--firmware", "123", "--can-address",
                       "0x7FE", "--can-speed", "8", "--scenario", "split"},
                      o));
    EXPECT_EQ(o.Port, 5);
    EXPECT_EQ(o.PortDirectory, "/tmp/x");
    EXPECT_FALSE(o.Config.Live.Sweep);
    EXPECT_DOUBLE_EQ(o.Config.Live.Lambda, 0.95);
    EXPECT_DOUBLE_EQ(o.Config.Live.WarmupSeconds, 0);
    EXPECT_EQ(o.Config.Cal, 1155);
    EXPECT_EQ(o.Config.Firmware, 123);
    EXPECT_EQ(o.Config.CanAddress, 2046);
    EXPECT_EQ(o.Config.CanSpeed, 8);
    EXPECT_EQ(o.Config.Scenario.SplitPieceSize, 3);

    ASSERT_TRUE(Parse({"--disconnect-after", "1.5", "--scenario", "disconnect"}, o));
    EXPECT_EQ(o.Config.Scenario.DisconnectAfter, std::chrono::milliseconds(1500));
}

TEST(SimOptions, RejectsBadOptions) {
    TSimProgramOptions o;
    for (const auto& args : std::vector<std::vector<std::string>>{{"--bogus"},
                                                                  {"--port"},
                                                                  {"--port", "0"},
                                                                  {"--port", "x"},
                                                                  {"--lambda", "nan"},
                                                                  {"--lambda", "-1"},
                                                                  {"--cal", "65536"},
                                                                  {"--firmware", "256"},
                                                                  {"--can-address", "4096"},
                                                                  {"--volts", "1e9"},
                                                                  {"--scenario", "chaos"},
                                                                  {"--sweep=1"},
                                                                  {"stray-argument"}}) {
        EXPECT_FALSE(Parse(args, o)) << args[0];
    }
}

// The simulator program with its standard output and error on pipes.
class TSimProcess : public TChildProcess {
public:
    explicit TSimProcess(const std::vector<std::string>& args)
        : TChildProcess(WBX4100_SIM_PATH, args) {}
};

bool IsLink(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

TEST(SimProgram, PublishesWhileRunningAndCleansUpOnSigterm) {
    TTempDir dir;
    TSimProcess sim({"--port", "9", "--port-dir", dir.Path(), "--lambda", "1.0"});
    ASSERT_TRUE(sim.Started());
    const std::string line = sim.StdoutLine();
    ASSERT_EQ(line.rfind("COM9 -> /dev/pts/", 0), 0u) << line;
    const std::string link = dir.Path() + "/COM9";
    EXPECT_TRUE(IsLink(link));
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(line, "COM9 -> " + std::string(target) + "\n");
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5000), 0);
    EXPECT_FALSE(IsLink(link));
}

TEST(SimProgram, SigintEndsItToo) {
    TTempDir dir;
    TSimProcess sim({"--port-dir", dir.Path()});
    ASSERT_EQ(sim.StdoutLine().rfind("COM1 -> ", 0), 0u);
    sim.Signal(SIGINT);
    EXPECT_EQ(sim.Wait(5000), 0);
    EXPECT_FALSE(IsLink(dir.Path() + "/COM1"));
}

TEST(SimProgram, BadOptionPrintsUsageAndExitsWith2) {
    TSimProcess sim({"--scenario", "chaos"});
    ASSERT_TRUE(sim.Started());
    EXPECT_EQ(sim.Wait(5000), 2);
    const std::string err = sim.Stderr();
    EXPECT_NE(err.find("usage:"), std::string::npos) << err;
    EXPECT_NE(err.find("chaos"), std::string::npos) << err;
}

} // namespace
