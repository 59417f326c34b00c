#pragma once
// Drives the program's real windows on the offscreen platform against a simulated controller
// (or a bare pseudo-terminal the test plays itself), published in a temporary port directory.
// Errors that would reach the user's message box are recorded instead.
#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/Simulator.h"

// A pseudo-terminal published as COM<n> whose master side the test plays directly.
class TTestDevice {
public:
    TTestDevice(const std::string& portDirectory, int portNumber);
    ~TTestDevice();
    void Write(const std::vector<uint8_t>& bytes);
    // Everything the program has sent so far.
    std::vector<uint8_t> ReadAll();
    // The device side of the line, for reading back what the program set on it.
    int Fd() const { return FMaster; }

private:
    int FMaster = -1;
    int FSlave = -1;
    std::string FLink;
};

class UiHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the simulator as COM<port>.
    TWbxSimulator& StartSimulator(int port = 1, const TSimConfig& config = TSimConfig());
    // Chooses the port number in the Com Port dialog and presses "Open".
    void PressOpen(int port = 1);
    // Starts the simulator as COM1 answering a fixed lambda and supply voltage, and opens it.
    void OpenLive(double lambda, double volts = 13.8, TSimConfig config = TSimConfig());
    // Waits until the lambda field shows `text`.
    bool LambdaShows(const QString& text, int timeoutMs = 1500);
    // Answers the next poll tick's live-data request from `device` with `reply` and waits
    // until the main window has decoded it.
    bool AnswerPoll(TTestDevice& device, const std::vector<uint8_t>& reply);
    // Runs the event loop until `condition` holds or `timeoutMs` pass; returns the condition.
    bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);
    void Pump(int ms);
    // "Log Start", answering the save dialog with `path` (or cancelling it when empty).
    void StartLogTo(const std::string& path);
    std::string TempPath(const std::string& name) const;

    std::vector<std::string> Errors;
    std::string PortDir;
    std::unique_ptr<TWbxSimulator> Sim;
};

// Failure messages show window texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The main window's link lamps.
bool Online();
bool Offline();

std::string ReadWholeFile(const std::string& path);
// The lines of a log text, each ended by CR LF; text after the last line end fails the test.
std::vector<std::string> LogLines(const std::string& text);
QString Text(const class TAbNumEdit* edit);
