// Opens a large text log in the chart (default 1 GiB, about 47 million readings) while the
// program polls the simulated controller and writes an MSL log, as a user would replay last
// week's drive beside a running car. Prints the time the log took to read, the memory the
// process held at its peak (and before the log was opened), and the intervals between the
// readings of the MSL log written meanwhile: median, 99th percentile and the longest.
// Goals: the poll's interval p99 stays near 100 ms while the log is read; memory stays
// within about 2 x 16 bytes a reading.
// Usage: bench_replay [MiB of log, default 1024] [path of the log, made when missing]
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/Startup.h"
#include "chart/ChartWindow.h"
#include "dialogs/ComPortDialog.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"
#include "ports/PortDirectory.h"
#include "serial/VaComm.h"
#include "sim/Simulator.h"
#include "widgets/AbLED.h"

namespace {

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return 0;
}

// A text log of about `mib` MiB: ten readings a second from 00:00:00, past midnight as needed.
void MakeLog(const std::string& path, long mib) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("WBX4100 Data Log V1.0  4/3/2024\r\n", f);
    const long long target = mib * 1024LL * 1024LL;
    long long written = 0;
    char line[64];
    for (long long i = 0; written < target; ++i) {
        const long long second = i / 10 % 86400;
        const int n = std::snprintf(line, sizeof line, "%.3f,%02lld:%02lld:%02lld, 13.8\r\n",
                                    1.0 + 0.2 * std::sin(static_cast<double>(i) / 70.0),
                                    second / 3600, second / 60 % 60, second % 60);
        std::fwrite(line, 1, static_cast<size_t>(n), f);
        written += n;
    }
    std::fclose(f);
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(std::lround(share * static_cast<double>(values.size() - 1)))];
}

} // namespace

int main(int argc, char** argv) {
    const long mib = argc > 1 ? std::atol(argv[1]) : 1024;
    char tmpl[] = "/tmp/uego-bench-replay-XXXXXX";
    const std::string folder = ::mkdtemp(tmpl);
    const std::string logPath = argc > 2 ? argv[2] : folder + "/big.txt";
    struct stat st {};
    if (::stat(logPath.c_str(), &st) != 0) {
        std::printf("making a %ld MiB log at %s\n", mib, logPath.c_str());
        MakeLog(logPath, mib);
        ::stat(logPath.c_str(), &st);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(folder));
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    SetMainThread();
    InstallQtSynchronizeHook();
    SetErrorDisplayHook(
        [](const std::string& message) { std::printf("error: %s\n", message.c_str()); });
    SetPortDirectory(folder);
    TSimConfig config;
    config.Live.Sweep = true;
    TWbxSimulator sim(config);
    sim.Start(folder, 1);
    CreateApplicationWindows();
    ComPortForm->OpenPortNumber(1);
    const std::string msl = folder + "/meanwhile.msl";
    Form1->StartLog(msl);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!Form1->ONLINE->Checked()) {
        std::printf("the simulated controller does not answer (port %s)\n",
                    Form1->VaComm1->Active() ? "open" : "closed");
        return 1;
    }
    const long before = CurrentKiB();
    Form1->ChartForm->ShowForm();
    clock.restart();
    Form1->ChartForm->OpenLogFile(logPath);
    // The window's thread waits for events as it would in the program, rather than spinning.
    while (Form1->ChartForm->Busy()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const double seconds = clock.elapsed() / 1000.0;
    const size_t readings = Form1->ChartForm->Shown().Size();
    const long peak = PeakKiB();
    Form1->LogStopClick();
    DestroyApplicationWindows();
    RemoveQtSynchronizeHook();

    std::vector<double> times;
    std::ifstream in(msl);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
            times.push_back(std::atof(line.c_str()));
        }
    }
    std::vector<double> intervals;
    for (size_t i = 1; i < times.size(); ++i) {
        intervals.push_back(times[i] - times[i - 1]);
    }
    std::printf("log: %.0f MiB, %zu readings read in %.1f s\n",
                static_cast<double>(st.st_size) / 1048576.0, readings, seconds);
    std::printf("memory: %.0f MiB resident before opening, %.0f MiB at the peak: %.1f bytes a "
                "reading above the start\n",
                before / 1024.0, peak / 1024.0,
                readings ? (peak - before) * 1024.0 / static_cast<double>(readings) : 0.0);
    if (!intervals.empty()) {
        std::printf("poll while reading: %zu readings logged, interval median %.3f s, p99 %.3f "
                    "s, longest %.3f s\n",
                    times.size(), Percentile(intervals, 0.5), Percentile(intervals, 0.99),
                    *std::max_element(intervals.begin(), intervals.end()));
    }
    if (argc <= 2) {
        std::system(("rm -rf '" + folder + "'").c_str());
    }
    return 0;
}
