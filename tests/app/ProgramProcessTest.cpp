// The program as a process: headless logging against the simulator, the exit codes, the port
// list, help and version.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
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

    std::unique_ptr<TChildProcess> Run(const std::vector<std::string>& args) {
        return std::make_unique<TChildProcess>(
            UEGO4100_PATH, args,
            std::vector<std::string>{"XDG_RUNTIME_DIR=" + Runtime.Path(), "LC_ALL=C.UTF-8",
                                     "LANG=C.UTF-8"});
    }
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

} // namespace
