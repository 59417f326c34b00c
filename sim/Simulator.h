#pragma once
// A simulated WBX4100 controller on a pseudo-terminal, served by its own thread.
//
// Typical test use:
//
//     TWbxSimulator sim;                      // default values, see TSimConfig
//     sim.Start(tempPortDir, 3);              // publishes <tempPortDir>/COM3 -> /dev/pts/K
//     ... open COM3 with the serial component (PortDirectory() set to tempPortDir) ...
//     sim.SetLambda(0.9);                     // change values while it runs
//     auto req = sim.WaitForCommand(CmdLiveData, 0, 2s);   // the utility polled
//     sim.SetScenario(*ScenarioByName("silent"));          // controller stops answering
//     sim.Stop();                             // or let the destructor do it
//
// With TSimConfig::DeviceLinks and Renumber the controller behaves like a USB adapter that is
// unplugged and plugged in again: it comes back under a new /dev/pts number, and its by-path
// link (DeviceLinks/by-path/DeviceLinkName(n)) leads to the new one.
//
// The simulator answers the live-data request, memory reads and memory writes with the reply
// layouts described in Controller.h, keeps the controller memory (cal rich 0-1, cal lean 2-3,
// firmware 4, CAN address 10-11, CAN bit-rate code 12) and records every valid request frame
// it receives with its arrival time. Every public member is thread-safe.
//
// Disconnect: with a scenario that has DisconnectAfter, the simulator closes its end of the
// line that long after Start/Restart: the utility's open descriptor sees hang-up (POLLHUP,
// reads of 0, writes fail with EIO), the published link is removed (like an unplugged
// adapter's device node) and Disconnected() turns true. Restart() brings the controller back
// on a fresh pseudo-terminal under the same COM name, memory and record kept, warm-up and
// sweep starting over; set a scenario without DisconnectAfter first to stay connected.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Controller.h"
#include "LineRecord.h"
#include "PortLink.h"
#include "PseudoTerminal.h"
#include "Scenario.h"

struct TSimConfig {
    TLiveSettings Live;
    uint16_t Cal = 1000;   // rich and lean: the cal value for a 4971-ohm plug resistor
    uint8_t Firmware = 12; // V1.2
    uint16_t CanAddress = 0x100;
    uint8_t CanSpeed = 1; // 500 Kbps
    TSimScenario Scenario;
    // Set: a folder whose by-path subfolder keeps a link named as the simulated adapter's
    // socket (DeviceLinkName) leading to the current line, as the system keeps
    // /dev/serial/by-path; it goes while the line is unplugged.
    std::string DeviceLinks;
    // The line comes back under another pseudo-terminal number after an unplug or Restart,
    // as an adapter re-enumerated under another ttyUSB number does.
    bool Renumber = false;
};

// The by-path name of the simulated adapter published as COM<portNumber>.
std::string DeviceLinkName(int portNumber);

// One valid request frame as received, with its arrival time.
struct TRequestRecord {
    std::vector<uint8_t> Bytes;
    std::chrono::steady_clock::time_point Time;
    uint8_t Command() const { return Bytes.size() > 2 ? Bytes[2] : 0; }
};

class TWbxSimulator {
public:
    explicit TWbxSimulator(const TSimConfig& config = TSimConfig());
    ~TWbxSimulator();
    TWbxSimulator(const TWbxSimulator&) = delete;
    TWbxSimulator& operator=(const TWbxSimulator&) = delete;

    // Opens a fresh pseudo-terminal, publishes it as <portDirectory>/COM<portNumber> and starts
    // serving. Throws std::system_error when the terminal or the link cannot be made, and
    // std::logic_error when already running.
    void Start(const std::string& portDirectory, int portNumber);
    // Stops serving, closes the line and removes the link. Safe to call repeatedly.
    void Stop();
    // Stop, then Start again with the same directory and port number.
    void Restart();

    // True from Start until Stop, a disconnect, or a failure of the line ends the serving.
    bool Running() const;
    // True once a DisconnectAfter scenario has closed the line (until the next Start/Restart).
    bool Disconnected() const;
    bool WaitForDisconnect(std::chrono::milliseconds timeout) const;
    // "/dev/pts/K" of the current terminal; empty when not started.
    std::string SlavePath() const;
    // "<portDirectory>/COMn"; empty when nothing is published.
    std::string LinkPath() const;
    // "<DeviceLinks>/by-path/<DeviceLinkName>"; empty without DeviceLinks.
    std::string DeviceLinkPath() const;
    std::string PortName() const; // "COMn"

    // Live values. SetLambda turns the sweep off; the warm-up counts from Start/Restart.
    void SetLambda(double lambda);
    void SetSweep(bool on);
    void SetWarmupSeconds(double seconds);
    void SetSupplyVolts(double volts);
    void SetLiveSettings(const TLiveSettings& settings);
    TLiveSettings LiveSettings() const;

    // Controller memory, as the utility would read it.
    void SetCal(uint16_t cal); // rich and lean
    void SetCalRich(uint16_t cal);
    void SetCalLean(uint16_t cal);
    void SetFirmware(uint8_t version);
    void SetCanAddress(uint16_t address);
    void SetCanSpeed(uint8_t code);
    uint16_t CalRich() const;
    uint16_t CalLean() const;
    uint8_t Firmware() const;
    uint16_t CanAddress() const;
    uint8_t CanSpeed() const;
    uint8_t MemoryByte(uint8_t address) const;

    // Line behaviour; takes effect from the next reply (DisconnectAfter counts from start).
    void SetScenario(const TSimScenario& scenario);
    TSimScenario Scenario() const;

    // The record of received request frames, oldest first; kept across Restart.
    std::vector<TRequestRecord> Requests() const;
    size_t RequestCount() const;
    void ClearRequests();
    // Waits until at least `count` requests are recorded. False on time-out.
    bool WaitForRequestCount(size_t count, std::chrono::milliseconds timeout) const;
    // Waits for a request with `command` at record index `fromIndex` or later; returns it, or
    // nothing on time-out.
    std::optional<TRequestRecord> WaitForCommand(uint8_t command, size_t fromIndex,
                                                 std::chrono::milliseconds timeout) const;
    // Replies fully written to the line so far (not counting silenced ones).
    size_t RepliesSent() const;

    // Keeps a written record of requests, whole replies, publishing, disconnects and notes in
    // `path` (see LineRecord.h). Throws std::system_error when the file cannot be made.
    void RecordTo(const std::string& path);
    void Note(const std::string& text);

private:
    void Serve();
    void ServeLine();
    bool HandleInput();
    bool WriteReply(const std::vector<uint8_t>& reply, const TSimScenario& scenario);
    bool WriteAll(const std::vector<uint8_t>& bytes);
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    bool WaitWritable(std::chrono::steady_clock::time_point deadline);
    bool StopRequested();
    void Wake();
    void DisconnectLine();
    void EndLine();
    double SecondsSinceStart() const;

    mutable std::mutex FLock;
    mutable std::condition_variable FChanged;
    TWbxController FController;
    TSimScenario FScenario;
    std::vector<TRequestRecord> FRecord;
    TLineRecord FLineRecord;
    size_t FRepliesSent = 0;
    bool FRunning = false;
    bool FStopRequested = false;
    bool FDisconnected = false;
    std::string FSlavePath;
    std::string FLinkPath;
    std::string FPortDirectory;
    int FPortNumber = 0;
    std::chrono::steady_clock::time_point FStartTime;

    // Owned by the serving thread while it runs; by Start/Stop otherwise.
    std::unique_ptr<TPseudoTerminal> FTerminal;
    // A hung-up terminal kept until the next one is made, so that one gets a new number.
    std::unique_ptr<TPseudoTerminal> FHeld;
    TPortLink FLink;
    TPortLink FDeviceLink;
    std::string FDeviceLinks;
    bool FRenumber = false;
    TRequestParser FParser;
    int FWakeFd = -1; // eventfd, lives as long as the simulator: wakes the serving thread
    std::thread FThread;
};
