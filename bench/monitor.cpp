// Cost of live monitoring, measured on the real windows (offscreen):
//  - BM_PollSimulator: the program polls the simulator for UEGO_BENCH_SECONDS (default 60);
//    reports the process CPU time as a share of one core and the resident memory at the end.
//  - BM_ReplyToDisplay: a responder thread answers each live-data request on a pseudo-terminal
//    and notes when the reply's last byte went out; the receive handler notes when the
//    displays have been set. Reports the median and 95th percentile of the difference.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <pwd.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "app/Startup.h"
#include "dialogs/ComPortDialog.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"
#include "ports/PortDirectory.h"
#include "serial/VaComm.h"
#include "sim/Simulator.h"

#include <QEventLoop>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

using Clock = std::chrono::steady_clock;

namespace {

QApplication* App() {
    static int argc = 1;
    static char name[] = "bench_monitor";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        auto* a = new QApplication(argc, argv);
        SetMainThread();
        InstallQtSynchronizeHook();
        SetErrorDisplayHook(
            [](const std::string& m) { fprintf(stderr, "error: %s\n", m.c_str()); });
        return a;
    }();
    return app;
}

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024.0;
        }
    }
    return 0;
}

std::string MakeTempDir() {
    char tmpl[] = "/tmp/uego-bench-XXXXXX";
    return ::mkdtemp(tmpl);
}

void OpenPort(int port) {
    ComPortForm->SpinEdit2->setValue(port);
    ComPortForm->Button1->click();
}

// Runs the event loop as the program does (QTest::qWait would poll in 10 ms steps and add
// up to 10 ms to every hand-over).
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

int BenchSeconds() {
    const char* s = std::getenv("UEGO_BENCH_SECONDS");
    return s != nullptr ? std::max(1, std::atoi(s)) : 60;
}

void BM_PollSimulator(benchmark::State& state) {
    App();
    const std::string dir = MakeTempDir();
    SetPortDirectory(dir);
    TSimConfig config;
    config.Live.Sweep = true;
    TWbxSimulator sim(config);
    sim.Start(dir, 1);
    CreateApplicationWindows();
    Form1->show();
    OpenPort(1);
    RunEventLoop(500);
    const int seconds = BenchSeconds();
    for (auto _ : state) {
        const double cpu0 = CpuSeconds();
        const double ui0 = ThreadCpuSeconds();
        const auto t0 = Clock::now();
        RunEventLoop(seconds * 1000);
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        // The process share includes the in-process simulator's thread.
        state.counters["cpu_percent_of_core"] = 100.0 * (CpuSeconds() - cpu0) / wall;
        state.counters["ui_thread_cpu_percent"] = 100.0 * (ThreadCpuSeconds() - ui0) / wall;
    }
    state.counters["rss_MB"] = ResidentMegabytes();
    state.counters["replies"] = static_cast<double>(sim.RepliesSent());
    DestroyApplicationWindows();
    sim.Stop();
    SetPortDirectory("");
}

// Answers live-data requests on the master side of a pseudo-terminal.
class TResponder {
public:
    explicit TResponder(const std::string& link) {
        char name[256];
        ::openpty(&FMaster, &FSlave, name, nullptr, nullptr);
        termios tio{};
        ::tcgetattr(FSlave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(FSlave, TCSANOW, &tio);
        ::unlink(link.c_str());
        [[maybe_unused]] int r = ::symlink(name, link.c_str());
        FThread = std::thread([this] { Run(); });
    }
    ~TResponder() {
        FStop = true;
        FThread.join();
        ::close(FMaster);
        ::close(FSlave);
    }
    std::vector<Clock::time_point> Sent() {
        std::lock_guard lock(FLock);
        return FSent;
    }

private:
    void Run() {
        uint8_t buffer[64];
        int pending = 0;
        while (!FStop) {
            pollfd p{FMaster, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) {
                continue;
            }
            ssize_t n = ::read(FMaster, buffer, sizeof buffer);
            pending += static_cast<int>(std::max<ssize_t>(n, 0));
            while (pending >= 4) { // one live-data request
                pending -= 4;
                const uint8_t reply[8] = {0x80, 0x08, 0x26, 0xDB, 0x03, 0x00, 200, 0x5A};
                [[maybe_unused]] ssize_t w = ::write(FMaster, reply, sizeof reply);
                std::lock_guard lock(FLock);
                FSent.push_back(Clock::now());
            }
        }
    }
    int FMaster = -1;
    int FSlave = -1;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<Clock::time_point> FSent;
    std::thread FThread;
};

void BM_ReplyToDisplay(benchmark::State& state) {
    App();
    const std::string dir = MakeTempDir();
    SetPortDirectory(dir);
    TResponder responder(dir + "/COM2");
    CreateApplicationWindows();
    Form1->show();
    std::vector<Clock::time_point> shown;
    auto handler = Form1->VaComm1->OnRxChar;
    Form1->VaComm1->OnRxChar = [&](TVaCustomComm* sender, int count) {
        const bool expected = Lambda_request;
        handler(sender, count);
        if (expected && !Lambda_request) {
            shown.push_back(Clock::now());
        }
    };
    OpenPort(2);
    for (auto _ : state) {
        RunEventLoop(static_cast<int>(state.range(0)) * 100 + 300);
    }
    Form1->VaComm1->Close();
    const auto sent = responder.Sent();
    std::vector<double> ms;
    // Each display update belongs to the latest reply sent before it.
    for (const auto& t : shown) {
        auto it = std::upper_bound(sent.begin(), sent.end(), t);
        if (it != sent.begin()) {
            ms.push_back(std::chrono::duration<double, std::milli>(t - *std::prev(it)).count());
        }
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p95_ms"] = ms[ms.size() * 95 / 100];
        state.counters["samples"] = static_cast<double>(ms.size());
    }
    DestroyApplicationWindows();
    SetPortDirectory("");
}

} // namespace

BENCHMARK(BM_PollSimulator)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ReplyToDisplay)->Arg(200)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_MAIN();
