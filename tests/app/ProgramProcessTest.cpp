// The program as a process: headless logging against the simulator, the exit codes, the port
// list, help and version.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "ports/PortDirectory.h"
#include "sim/Simulator.h"
#include "tests/sim/TempDir.h"
#include "tests/support/ChildProcess.h"

namespace {

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size()) {
        lines.push_back(text.substr(start, at - start));
    }
    return lines;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A reading in the log's format with the English regional settings the test runs in:
// lambda, time of day, volts.
bool IsReadingLine(const std::string& line) {
    double lambda = 0;
    double volts = 0;
    int h = 0, m = 0, s = 0;
    char rest = 0;
    return std::sscanf(line.c_str(), "%lf,%d:%d:%d, %lf%c", &lambda, &h, &m, &s, &volts, &rest) ==
               5 &&
           line.find(", ") != std::string::npos;
}

// The simulator published as COM5 in the port folder the program finds through
// XDG_RUNTIME_DIR.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string ports = Runtime.Path() + "/uego4100/ports";
        ASSERT_TRUE(EnsurePortDirectory(ports));
        TSimConfig config;
        config.Live.WarmupSeconds = 0;
        Sim = std::make_unique<TWbxSimulator>(config);
        Sim->Start(ports, 5);
    }

    std::unique_ptr<TChildProcess> Run(const std::vector<std::string>& args,
                                       const TChildOptions& options = {},
                                       std::vector<std::string> environment = {}) {
        environment.insert(environment.begin(),
                           {"XDG_RUNTIME_DIR=" + Runtime.Path(), "LC_ALL=C.UTF-8", "LANG=C.UTF-8"});
        return std::make_unique<TChildProcess>(UEGO4100_PATH, args, environment, options);
    }
    std::string Ports() const { return Runtime.Path() + "/uego4100/ports"; }
    std::string Path(const std::string& name) const { return Runtime.Path() + "/" + name; }

    TTempDir Runtime;
    std::unique_ptr<TWbxSimulator> Sim;
};

TEST_F(ProgramRun, HeadlessLogsEachReadingToTheFileAndStandardOutputForTheDuration) {
    auto program = Run({"--headless", "--port", "5", "--log", Path("run"), "--duration", "3"});
    const std::string out = program->Stdout(10000);
    EXPECT_EQ(program->Wait(10000), 0);
    const auto printed = Lines(out, "\n");
    EXPECT_GE(printed.size(), 20u);
    EXPECT_LE(printed.size(), 40u);
    ASSERT_FALSE(printed.empty());
    EXPECT_TRUE(IsReadingLine(printed.front())) << printed.front();

    // ".txt" added; the header, then the same lines as on standard output.
    auto logged = Lines(FileText(Path("run.txt")), "\r\n");
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.front().rfind("WBX4100 Data Log V1.0  ", 0), 0u) << logged.front();
    logged.erase(logged.begin());
    EXPECT_EQ(logged, printed);
    EXPECT_NE(program->Stderr().find(" COM5 ONLINE\n"), std::string::npos);
}

TEST_F(ProgramRun, FormatChoosesTheLogAndStandardOutputAlike) {
    auto program = Run(
        {"--headless", "--port", "5", "--log", Path("run"), "--format", "csv", "--duration", "2"});
    const std::string out = program->Stdout(10000);
    EXPECT_EQ(program->Wait(10000), 0);
    const auto printed = Lines(out, "\n");
    ASSERT_GE(printed.size(), 10u);
    EXPECT_EQ(printed.front(), "Time (s),Date and time,Lambda,AFR,Supply (V),Warmup,Mark");
    // The suffix of the format added; the same rows in the file and on standard output.
    const auto logged = Lines(FileText(Path("run.csv")), "\r\n");
    ASSERT_GE(logged.size(), 10u);
    EXPECT_EQ(logged.front(), printed.front());
    EXPECT_EQ(logged[1].substr(logged[1].find(',')), printed[1].substr(printed[1].find(',')));
    // Without --format the suffix decides.
    auto msl = Run({"--headless", "--port", "5", "--log", Path("drive.msl"), "--duration", "1"});
    EXPECT_EQ(msl->Stdout(10000).rfind("\"UEGO 4100 Interface ", 0), 0u);
    EXPECT_EQ(msl->Wait(10000), 0);
    EXPECT_EQ(FileText(Path("drive.msl")).rfind("\"UEGO 4100 Interface ", 0), 0u);
    auto bad = Run({"--format", "xls"});
    EXPECT_EQ(bad->Wait(10000), 2);
    EXPECT_NE(bad->Stderr().find("--format takes txt, msl or csv"), std::string::npos);
}

TEST_F(ProgramRun, SigtermEndsTheRunWithTheLogComplete) {
    auto program = Run({"--headless", "--port", "5", "--log", Path("cut.txt")});
    for (int i = 0; i < 5; ++i) {
        std::string line = program->StdoutLine();
        ASSERT_FALSE(line.empty());
        line.pop_back();
        ASSERT_TRUE(IsReadingLine(line)) << line;
    }
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(5000), 0);
    const std::string log = FileText(Path("cut.txt"));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    auto lines = Lines(log, "\r\n");
    ASSERT_GE(lines.size(), 6u);
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(IsReadingLine(lines[i])) << lines[i];
    }
}

// Reads standard error line by line until a line ends with `status`; false after `timeoutMs`
// without one.
bool StatusSeen(TChildProcess& program, const std::string& status, int timeoutMs) {
    for (std::string line; !(line = program.StderrLine(timeoutMs)).empty();) {
        if (line.size() > status.size() + 1 &&
            line.compare(line.size() - status.size() - 1, status.size(), status) == 0) {
            return true;
        }
    }
    return false;
}

TEST_F(ProgramRun, HeadlessTellsTheDeviceGoneAndBackAndLogsOnWithWholeLines) {
    TSimConfig config;
    config.Live.WarmupSeconds = 0;
    config.Scenario.DisconnectAfter = std::chrono::milliseconds(1500);
    Sim->Stop();
    Sim = std::make_unique<TWbxSimulator>(config);
    Sim->Start(Runtime.Path() + "/uego4100/ports", 5);
    auto program = Run({"--headless", "--port", "5", "--log", Path("unplug.txt")});
    ASSERT_TRUE(StatusSeen(*program, "COM5 ONLINE", 10000));
    ASSERT_TRUE(StatusSeen(*program, "COM5 DEVICE GONE", 10000));
    Sim->SetScenario(TSimScenario());
    Sim->Restart(); // the same name again
    ASSERT_TRUE(StatusSeen(*program, "COM5 RECONNECTED", 10000));
    ASSERT_TRUE(StatusSeen(*program, "COM5 ONLINE", 10000));
    for (int i = 0; i < 5; ++i) {
        ASSERT_FALSE(program->StdoutLine().empty());
    }
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(5000), 0);
    const auto lines = Lines(FileText(Path("unplug.txt")), "\r\n");
    ASSERT_GE(lines.size(), 10u);
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(IsReadingLine(lines[i])) << lines[i];
    }
}

TEST_F(ProgramRun, PortAndLogFailuresGiveTheirExitCodesAndTouchNoFile) {
    auto missing = Run({"--headless", "--port", "7", "--log", Path("never.txt")});
    EXPECT_EQ(missing->Wait(10000), 3);
    EXPECT_EQ(missing->Stderr(), "uego4100: Specified device not found (COM7).\n");
    EXPECT_FALSE(std::ifstream(Path("never.txt")).good());

    std::ofstream(Path("kept.txt")) << "earlier run\r\n";
    auto existing = Run({"--headless", "--port", "5", "--log", Path("kept.txt")});
    EXPECT_EQ(existing->Wait(10000), 4);
    EXPECT_EQ(Lines(existing->Stderr(), "\n").size(), 1u);
    EXPECT_EQ(FileText(Path("kept.txt")), "earlier run\r\n");

    // Opened, but the header cannot be written.
    ASSERT_EQ(::symlink("/dev/full", Path("full.txt").c_str()), 0);
    auto full = Run({"--headless", "--port", "5", "--log", Path("full.txt"), "--overwrite"});
    EXPECT_EQ(full->Wait(10000), 4);
}

TEST_F(ProgramRun, BadUsageExitsWith2AndOneLineOnStandardError) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"--headless"},
                                               {"--port"},
                                               {"--port", "256"},
                                               {"--port", "tty"},
                                               {"--port", "5", "--duration", "3"},
                                               {"--headless", "--port", "5", "--duration", "0"},
                                               {"--log", ""},
                                               {"--log", "/tmp"},
                                               {"--port", "1", "--port", "2"},
                                               {"--log", "a", "--log", "b"},
                                               {"--format", "csv", "--format", "msl"},
                                               {"stray"}}) {
        auto program = Run(args);
        EXPECT_EQ(program->Wait(10000), 2) << args[0];
        const std::string err = program->Stderr();
        EXPECT_EQ(Lines(err, "\n").size(), 1u) << err;
        EXPECT_EQ(program->Stdout(100), "") << args[0];
    }
}

TEST_F(ProgramRun, ListPortsShowsThePublishedSimulator) {
    auto program = Run({"--list-ports"});
    const std::string out = program->Stdout();
    EXPECT_EQ(program->Wait(5000), 0);
    EXPECT_NE(out.find("COM5 = " + Sim->SlavePath() + " (port directory entry)\n"),
              std::string::npos)
        << out;
}

TEST_F(ProgramRun, HelpNamesEveryOptionAndExitCodeAndVersionIsTheBuilt) {
    auto help = Run({"-h"});
    const std::string text = help->Stdout();
    EXPECT_EQ(help->Wait(5000), 0);
    for (const char* word :
         {"--help", "--version", "--port N|PATH", "--log FILE", "--overwrite", "--list-ports",
          "--headless", "--duration SECONDS", "  0  ", "  2  ", "  3  ", "  4  "}) {
        EXPECT_NE(text.find(word), std::string::npos) << word;
    }
    auto version = Run({"--version"});
    EXPECT_EQ(version->Stdout(), "uego4100 " UEGO4100_VERSION "\n");
    EXPECT_EQ(version->Wait(5000), 0);
}

using TClock = std::chrono::steady_clock;

std::string ReadLink(const std::string& path) {
    char target[512] = {};
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

// True while process `pid` has a descriptor open on `node`.
bool Holds(pid_t pid, const std::string& node) {
    for (int fd = 0; fd < 256; ++fd) {
        if (ReadLink("/proc/" + std::to_string(pid) + "/fd/" + std::to_string(fd)) == node) {
            return true;
        }
    }
    return false;
}

// True once process `pid` has a handler of its own for `sig`.
bool Catches(pid_t pid, int sig) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0) {
            return ((std::stoull(line.substr(7), nullptr, 16) >> (sig - 1)) & 1) != 0;
        }
    }
    return false;
}

std::vector<std::string> ReadingLines(const std::string& log) {
    auto lines = Lines(log, "\r\n");
    if (!lines.empty()) {
        lines.erase(lines.begin());
    }
    return lines;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// A standard output that nobody reads (a paused pager, a stalled ssh link, Ctrl+S) holds up
// neither the polling, nor the data log, nor the signals.
TEST_F(ProgramRun, AStandardOutputNobodyReadsHoldsUpNothing) {
    TChildOptions options;
    options.Stdout = TChildOptions::TStdout::FullPipe;
    auto program = Run({"--headless", "--port", "5", "--log", Path("unread.txt")}, options);
    std::this_thread::sleep_for(std::chrono::seconds(4));
    const auto sent = TClock::now();
    program->Signal(SIGTERM);
    const int status = program->Wait(5000);
    const auto took = TClock::now() - sent;
    EXPECT_EQ(status, 0);
    EXPECT_LT(took, std::chrono::seconds(1));
    const auto readings = ReadingLines(FileText(Path("unread.txt")));
    EXPECT_GE(readings.size(), 25u) << "the log stopped";
    for (const std::string& line : readings) {
        EXPECT_TRUE(IsReadingLine(line)) << line;
    }
    const std::string err = program->Stderr();
    EXPECT_EQ(Count(err, "could not go to standard output and were dropped"), 1u) << err;
}

// The ending signals: one ignored at start (nohup) stays ignored, and the handlers are in
// before the port is opened, so a SIGTERM that comes at once still ends the run cleanly.
TEST_F(ProgramRun, SignalsIgnoredAtStartStayIgnoredAndHandlersComeBeforeThePort) {
    TChildOptions nohup;
    nohup.IgnoredSignals = {SIGHUP};
    auto program = Run({"--headless", "--port", "5", "--log", Path("nohup.txt")}, nohup);
    ASSERT_FALSE(program->StdoutLine().empty());
    program->Signal(SIGHUP); // the terminal's logout
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(program->StdoutLine(1000).empty()) << "SIGHUP ended a run under nohup";
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(5000), 0);

    auto early = Run({"--headless", "--port", "5", "--log", Path("early.txt")});
    const auto deadline = TClock::now() + std::chrono::seconds(10);
    while (!Catches(early->Pid(), SIGTERM) && TClock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    EXPECT_FALSE(Holds(early->Pid(), Sim->SlavePath())) << "the port was opened first";
    early->Signal(SIGTERM);
    EXPECT_EQ(early->Wait(5000), 0);
    EXPECT_EQ(FileText(Path("early.txt")).rfind("WBX4100 Data Log V1.0  ", 0), 0u);
}

// Two loggers started at once on one new file: exactly one of them logs, the other says the
// file exists and exits 4, and the file holds one run's lines, whole.
TEST_F(ProgramRun, TwoLoggersOnOneNewFileExactlyOneLogs) {
    TSimConfig config;
    config.Live.WarmupSeconds = 0;
    TWbxSimulator second(config);
    second.Start(Ports(), 6);
    auto a = Run({"--headless", "--port", "5", "--log", Path("shared"), "--duration", "2"});
    auto b = Run({"--headless", "--port", "6", "--log", Path("shared"), "--duration", "2"});
    const int first = a->Wait(10000);
    const int other = b->Wait(10000);
    EXPECT_EQ(std::min(first, other), 0);
    EXPECT_EQ(std::max(first, other), 4);
    const std::string loser = first == 4 ? a->Stderr() : b->Stderr();
    EXPECT_NE(loser.find(Path("shared.txt") + " exists"), std::string::npos) << loser;
    const auto readings = ReadingLines(FileText(Path("shared.txt")));
    EXPECT_GE(readings.size(), 12u);
    EXPECT_LE(readings.size(), 25u) << "both programs wrote the file";
}

// The command line's ways to go wrong, each ending as it says.
TEST_F(ProgramRun, CommandLineCasesEndAsTheySay) {
    using TStdout = TChildOptions::TStdout;
    struct TCase {
        std::string Name;
        std::vector<std::string> Args;
        std::vector<std::string> Environment;
        TChildOptions Options;
        int Exit;
        // Checks after the end (standard output, standard error), and while it runs.
        std::function<void(const std::string& out, const std::string& err)> After{};
        std::function<void(pid_t pid)> During{};
        std::function<void()> Setup{};
    };
    const auto oneLine = [](const std::string& part) {
        return [part](const std::string&, const std::string& err) {
            EXPECT_EQ(Count(err, "\n"), 1u) << err;
            EXPECT_NE(err.find(part), std::string::npos) << err;
        };
    };
    const std::string refused = "port folder " + Ports() + " ignored: others can write to it";
    TChildOptions devFull;
    devFull.Stdout = TStdout::File;
    devFull.StdoutFile = "/dev/full";
    TChildOptions closed;
    closed.Stdout = TStdout::Closed;
    const std::vector<std::string> duration = {"--headless", "--port", "5", "--duration", "2"};
    const auto with = [&duration](std::vector<std::string> more) {
        more.insert(more.begin(), duration.begin(), duration.end());
        return more;
    };
    const auto logged = [this](const std::string& name, size_t atLeast) {
        return [this, name, atLeast](const std::string&, const std::string&) {
            const auto readings = ReadingLines(FileText(Path(name)));
            EXPECT_GE(readings.size(), atLeast);
            for (const std::string& line : readings) {
                EXPECT_TRUE(IsReadingLine(line)) << line;
            }
        };
    };
    const std::vector<TCase> cases = {
        {"--port twice",
         {"--port", "1", "--port", "2"},
         {},
         {},
         2,
         oneLine("--port given more than once")},
        {"window without a display",
         {},
         {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="},
         {},
         2,
         oneLine("no display")},
        {"--list-ports, folder refused",
         {"--list-ports"},
         {},
         {},
         0,
         [&](const std::string& out, const std::string&) {
             EXPECT_EQ(Count(out, "\n"), 1u) << out;
             EXPECT_EQ(out.find(refused), 0u) << out;
         },
         {},
         [this] { ::chmod(Ports().c_str(), 0770); }},
        {"--port N, folder refused",
         {"--headless", "--port", "5"},
         {},
         {},
         3,
         oneLine("COM5: " + refused),
         {},
         [this] { ::chmod(Ports().c_str(), 0770); }},
        {"standard output on a full disk, no log",
         duration,
         {},
         devFull,
         4,
         [](const std::string&, const std::string& err) {
             EXPECT_EQ(Count(err, "uego4100: cannot write to standard output: No space left on "
                                  "device"),
                       1u)
                 << err;
             EXPECT_EQ(Count(err, "uego4100: "), 1u) << err;
         }},
        {"standard output on a full disk, with a log",
         with({"--log", Path("full-disk.txt")}),
         {},
         devFull,
         0,
         [&](const std::string& out, const std::string& err) {
             logged("full-disk.txt", 12)(out, err);
             EXPECT_EQ(Count(err, "cannot write to standard output"), 1u) << err;
         }},
        {"standard output closed",
         with({"--log", Path("closed.txt")}),
         {},
         closed,
         0,
         logged("closed.txt", 12),
         [](pid_t pid) {
             EXPECT_EQ(ReadLink("/proc/" + std::to_string(pid) + "/fd/1"), "/dev/null");
         }},
        {"--overwrite and another user's link",
         with({"--log", Path("theirs.txt"), "--overwrite"}),
         {},
         {},
         4,
         [this](const std::string&, const std::string&) {
             EXPECT_EQ(FileText(Path("target.txt")), "kept\n");
         },
         {},
         [this] {
             std::ofstream(Path("target.txt")) << "kept\n";
             ::symlink(Path("target.txt").c_str(), Path("theirs.txt").c_str());
             ::lchown(Path("theirs.txt").c_str(), 4242, 4242);
         }},
        {"Qt's own messages",
         duration,
         {"QT_LOGGING_RULES=*.debug=true;qt.*=true"},
         {},
         0,
         [](const std::string&, const std::string& err) {
             for (const std::string& line : Lines(err, "\n")) {
                 int h = 0, m = 0, sec = 0;
                 EXPECT_TRUE(line.rfind("uego4100: ", 0) == 0 ||
                             std::sscanf(line.c_str(), "%d:%d:%d COM5 ", &h, &m, &sec) == 3)
                     << line;
             }
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Setup) {
            c.Setup();
        }
        auto program = Run(c.Args, c.Options, c.Environment);
        if (c.During) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            c.During(program->Pid());
        }
        const std::string out = c.Options.Stdout == TStdout::Pipe ? program->Stdout(3000) : "";
        EXPECT_EQ(program->Wait(10000), c.Exit);
        const std::string err = program->Stderr(500);
        if (c.After) {
            c.After(out, err);
        }
        ::chmod(Ports().c_str(), 0700);
    }
}

} // namespace
