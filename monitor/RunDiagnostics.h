#pragma once
// Figures about one run of the program, for the soak script. Kept only when the environment
// variable UEGO4100_DIAGNOSTICS names a file: otherwise nothing is measured or written. The
// file is rewritten about once a second and when the main window goes, one figure a line:
//   decoded N                  live readings decoded
//   message_boxes N            errors and other boxes shown to the user; each text also as
//                              "message_box TEXT"
//   longest_stall_ms N         longest time the user-interface thread did not reach its events
//   longest_stall_at_s N       when it ended, in seconds since the start
//   status_<name> N            link status changes: online, offline, device_gone, reconnected
//   descriptors_after_close N  open descriptors once the port was closed at the end, followed
//                              by "descriptor TARGET" for each
//   threads_after_close N      threads then, followed by "thread NAME" for each
// Beside it, FILE.readings gets one line per decoded live reading as it comes: lambda in
// thousandths and the supply volts with one decimal ("987 12.5").
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ErrorDisplay.h"

class TForm1;
struct TDecodedReading;

class TRunDiagnostics : public QObject {
public:
    // The diagnostics the environment asks for, or none.
    static std::unique_ptr<TRunDiagnostics> FromEnvironment(TForm1* form);

    TRunDiagnostics(TForm1* form, std::string path);
    ~TRunDiagnostics() override;

    // The main window has closed the port at the end: counts what the process still holds.
    void PortReleased();

private:
    void Beat();
    void ErrorShown(const std::string& message);
    void BoxShown(const std::string& caption, const std::string& text);
    void CountMessage(const std::string& text);
    void ReadingDecoded(const TDecodedReading& reading);
    void Write() const;

    std::string FPath;
    std::ofstream FReadings;
    TErrorDisplayHook FPreviousDisplay;
    TMessageBoxHook FPreviousBox;
    QTimer FBeat;
    QElapsedTimer FSinceBeat;
    QElapsedTimer FSinceStart;
    qint64 FLongestStallAtMs = 0;
    qint64 FLongestStallMs = 0;
    int FBeats = 0;
    long FDecoded = 0;
    std::vector<std::string> FMessages;
    std::map<std::string, long> FStatusCounts;
    std::vector<std::string> FDescriptorsAfterClose;
    bool FPortReleased = false;
    std::vector<std::string> FThreadsAfterClose;
};
