// Ending signals end the real program promptly, also while a message box waits for a click.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "sim/Simulator.h"
#include "tests/monitor/UiHarness.h"

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

// The environment with the runtime folder (hence the port directory) and platform replaced.
std::vector<std::string> ChildEnvironment(const std::string& runtimeDir) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_RUNTIME_DIR=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0 &&
            entry.rfind("UEGO4100_DIAGNOSTICS=", 0) != 0) {
            env.push_back(entry);
        }
    }
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    return env;
}

class TChild {
public:
    TChild(const std::string& runtimeDir, const std::string& logPath) {
        int out[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        const std::vector<std::string> env = ChildEnvironment(runtimeDir);
        std::vector<char*> envp;
        for (const std::string& e : env) {
            envp.push_back(const_cast<char*>(e.c_str()));
        }
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(SIGNAL_TARGET), const_cast<char*>(logPath.c_str()),
                        nullptr};
        EXPECT_EQ(posix_spawn(&FPid, SIGNAL_TARGET, &actions, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        FOut = out[0];
    }
    ~TChild() {
        if (FPid > 0 && !FEnded) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
        ::close(FOut);
    }
    // Reads the child's output until `line` has come, or the deadline.
    bool WaitForLine(const std::string& line, std::chrono::milliseconds timeout) {
        const auto deadline = TClock::now() + timeout;
        while (FText.find(line + "\n") == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now());
            pollfd fd{FOut, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
                return false;
            }
            char buffer[256];
            const ssize_t n = ::read(FOut, buffer, sizeof buffer);
            if (n <= 0) {
                return false;
            }
            FText.append(buffer, static_cast<size_t>(n));
        }
        return true;
    }
    // Waits for the child to end; its wait status, or nothing on time-out.
    std::optional<int> WaitForEnd(std::chrono::milliseconds timeout) {
        const auto deadline = TClock::now() + timeout;
        int status = 0;
        while (::waitpid(FPid, &status, WNOHANG) == 0) {
            if (TClock::now() > deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        FEnded = true;
        return status;
    }
    pid_t Pid() const { return FPid; }

private:
    pid_t FPid = -1;
    int FOut = -1;
    bool FEnded = false;
    std::string FText;
};

} // namespace

TEST(QuitOnSignal, EndsWithinASecondWhileAMessageBoxIsOpen) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        char tmpl[] = "/tmp/uego-signal-XXXXXX";
        const std::string runtimeDir = ::mkdtemp(tmpl);
        const std::string logPath = runtimeDir + "/log.txt";
        {
            TWbxSimulator sim;
            sim.Start(runtimeDir + "/uego4100/ports", 1);
            TChild child(runtimeDir, logPath);
            ASSERT_TRUE(child.WaitForLine("box", std::chrono::seconds(60)));

            ::kill(child.Pid(), sig);
            const auto sent = TClock::now();
            const std::optional<int> status = child.WaitForEnd(std::chrono::seconds(5));
            const auto took = TClock::now() - sent;
            ASSERT_TRUE(status.has_value()) << "still running 5 s after the signal";
            EXPECT_LT(took, std::chrono::seconds(1));
            EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
            // The window closed the port and the log itself before the process ended.
            EXPECT_TRUE(child.WaitForLine("port 0 log 0", std::chrono::seconds(1)));
        }
        const std::vector<std::string> lines = LogLines(ReadWholeFile(logPath));
        ASSERT_GE(lines.size(), 4u);
        for (size_t i = 1; i < lines.size(); ++i) {
            EXPECT_TRUE(
                std::regex_match(lines[i], std::regex(R"([0-9.]+,\d\d:\d\d:\d\d, [0-9.]+)")))
                << lines[i];
        }
        std::system(("rm -rf '" + runtimeDir + "'").c_str());
    }
}
