#include "sim/SimOptions.h"

#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempDir.h"

extern char** environ;

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

// Runs the simulator program with its standard output and error on pipes.
class TSimProcess {
public:
    explicit TSimProcess(const std::vector<std::string>& args) {
        int out[2];
        int err[2];
        if (pipe(out) != 0 || pipe(err) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        std::vector<std::string> all = {WBX4100_SIM_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&FPid, WBX4100_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            FPid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        FOut = out[0];
        FErr = err[0];
    }
    ~TSimProcess() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        close(FOut);
        close(FErr);
    }

    // Text from a pipe until a newline, end of file or the time-out.
    static std::string ReadLine(int fd, int timeoutMs) {
        std::string text;
        while (text.empty() || text.back() != '\n') {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) <= 0) {
                break;
            }
            char c = 0;
            if (read(fd, &c, 1) != 1) {
                break;
            }
            text += c;
        }
        return text;
    }
    std::string StdoutLine() { return ReadLine(FOut, 5000); }
    std::string Stderr() {
        std::string all;
        for (std::string line; !(line = ReadLine(FErr, 2000)).empty();) {
            all += line;
        }
        return all;
    }
    void Signal(int sig) { kill(FPid, sig); }
    // Exit status, or -1 when it did not exit normally within the time-out.
    int Wait(int timeoutMs) {
        for (int waited = 0; waited <= timeoutMs; waited += 10) {
            int status = 0;
            if (waitpid(FPid, &status, WNOHANG) == FPid) {
                FPid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(10000);
        }
        return -1;
    }
    bool Started() const { return FPid > 0; }

private:
    pid_t FPid = -1;
    int FOut = -1;
    int FErr = -1;
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
