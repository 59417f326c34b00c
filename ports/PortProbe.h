#pragma once
// Finding the controller: the published ports and the USB serial devices present are tried
// one at a time with a request at the line settings (19200 bits per second, 8 data bits, no
// parity, one stop bit, raw); the first that answers is the one. A device that another
// program holds is skipped, a device of another user too, and every device tried is left
// with the settings it had. Nothing is probed unless the user asks.
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TProbeCandidate {
    std::string Name; // how the port is named: COM3, or the device path
    std::string Path; // the device node (or port-directory entry) it stands for
};

// The ports worth trying, in this order: each published COM name of the trusted port
// directory, in number order, then each USB serial device present (ttyUSB*, ttyACM*; never
// ttyS*) under its COM number where it has one, else under its path. A device reached
// through an earlier candidate is not listed again.
std::vector<TProbeCandidate> ProbeCandidates();

enum class TProbeAnswer {
    Answered, // `answerSize` bytes came within the wait
    Silent,   // fewer came
    Busy,     // another program holds the device
    Refused   // it cannot be opened or set up (missing, no permission, another user's)
};

// Opens the candidate, sends `request` and waits at most `wait` for `answerSize` bytes; then
// restores the line settings and closes the device.
TProbeAnswer ProbePort(const TProbeCandidate& candidate, std::span<const uint8_t> request,
                       size_t answerSize, std::chrono::milliseconds wait);

struct TProbeResult {
    bool Found = false;
    TProbeCandidate Port;           // the one that answered
    std::vector<std::string> Tried; // the names tried that did not answer
    std::vector<std::string> Busy;  // the names skipped because another program holds them
};

// Tries the candidates in order until one answers.
TProbeResult FindAnsweringPort(const std::vector<TProbeCandidate>& candidates,
                               std::span<const uint8_t> request, size_t answerSize,
                               std::chrono::milliseconds wait);
