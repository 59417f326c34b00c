#include "RunDiagnostics.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "monitor/MainWindow.h"
#include "ports/Folders.h"

namespace {

constexpr int BeatMs = 50;
constexpr int BeatsPerWrite = 1000 / BeatMs;

std::string ThreadName(const std::string& id) {
    std::ifstream in("/proc/self/task/" + id + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

// The link change's word as a figure's name: "DEVICE GONE" counts as status_device_gone.
std::string StatusName(TLinkStatus status) {
    std::string name = LinkStatusText(status);
    for (char& c : name) {
        c = c == ' ' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

} // namespace

std::unique_ptr<TRunDiagnostics> TRunDiagnostics::FromEnvironment(TForm1* form) {
    const char* path = std::getenv("UEGO4100_DIAGNOSTICS");
    if (path == nullptr || path[0] == '\0') {
        return nullptr;
    }
    return std::make_unique<TRunDiagnostics>(form, path);
}

TRunDiagnostics::TRunDiagnostics(TForm1* form, std::string path)
    : FPath(std::move(path)), FReadings(FPath + ".readings", std::ios::trunc) {
    FPreviousDisplay =
        SetErrorDisplayHook([this](const std::string& message) { ErrorShown(message); });
    FPreviousBox = SetMessageBoxHook(
        [this](const std::string& caption, const std::string& text) { BoxShown(caption, text); });
    connect(form, &TForm1::LiveReadingDecoded, this,
            [this](const TDecodedReading& reading) { ReadingDecoded(reading); });
    connect(form, &TForm1::LinkStatusChanged, this,
            [this](TLinkStatus status) { ++FStatusCounts[StatusName(status)]; });
    FBeat.setTimerType(Qt::PreciseTimer);
    FBeat.setInterval(BeatMs);
    connect(&FBeat, &QTimer::timeout, this, [this] { Beat(); });
    FBeat.start();
    FSinceBeat.start();
    FSinceStart.start();
    Write();
}

TRunDiagnostics::~TRunDiagnostics() {
    SetMessageBoxHook(FPreviousBox);
    SetErrorDisplayHook(FPreviousDisplay);
    Write();
}

// A beat that comes late tells how long the thread was busy elsewhere.
void TRunDiagnostics::Beat() {
    const qint64 stall = FSinceBeat.restart() - BeatMs;
    if (stall > FLongestStallMs) {
        FLongestStallMs = stall;
        FLongestStallAtMs = FSinceStart.elapsed();
    }
    if (++FBeats % BeatsPerWrite == 0) {
        Write();
    }
}

void TRunDiagnostics::ReadingDecoded(const TDecodedReading& reading) {
    ++FDecoded;
    char line[64];
    std::snprintf(line, sizeof line, "%ld %.1f\n", std::lround(reading.Lambda * 1000),
                  reading.Volts);
    FReadings << line << std::flush;
}

void TRunDiagnostics::CountMessage(const std::string& text) {
    FMessages.push_back(text);
    Write();
}

void TRunDiagnostics::BoxShown(const std::string& caption, const std::string& text) {
    if (!FPreviousBox) {
        ShowErrorMessage(text); // where a box without a display of its own goes
        return;
    }
    CountMessage(caption + ": " + text);
    FPreviousBox(caption, text);
}

void TRunDiagnostics::ErrorShown(const std::string& message) {
    CountMessage(message);
    if (FPreviousDisplay) {
        FPreviousDisplay(message);
    } else {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
}

void TRunDiagnostics::PortReleased() {
    FDescriptorsAfterClose.clear();
    for (const std::string& fd : FolderEntries("/proc/self/fd")) {
        const std::string target = LinkTarget("/proc/self/fd/" + fd);
        // The listing's own descriptor is closed again by now.
        if (!target.empty()) {
            FDescriptorsAfterClose.push_back(target);
        }
    }
    FThreadsAfterClose.clear();
    for (const std::string& id : FolderEntries("/proc/self/task")) {
        FThreadsAfterClose.push_back(ThreadName(id));
    }
    FPortReleased = true;
    Write();
}

void TRunDiagnostics::Write() const {
    const std::string temporary = FPath + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "decoded " << FDecoded << "\n";
        out << "message_boxes " << FMessages.size() << "\n";
        for (const std::string& message : FMessages) {
            out << "message_box " << message << "\n";
        }
        out << "longest_stall_ms " << FLongestStallMs << "\n";
        out << "longest_stall_at_s " << FLongestStallAtMs / 1000.0 << "\n";
        for (const auto& [name, count] : FStatusCounts) {
            out << "status_" << name << " " << count << "\n";
        }
        if (FPortReleased) {
            out << "descriptors_after_close " << FDescriptorsAfterClose.size() << "\n";
            for (const std::string& target : FDescriptorsAfterClose) {
                out << "descriptor " << target << "\n";
            }
            out << "threads_after_close " << FThreadsAfterClose.size() << "\n";
            for (const std::string& name : FThreadsAfterClose) {
                out << "thread " << name << "\n";
            }
        }
    }
    std::rename(temporary.c_str(), FPath.c_str());
}
