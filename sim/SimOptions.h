#pragma once
// Command line of the wbx4100-sim program.
#include <string>
#include <vector>

#include "Simulator.h"

struct TSimProgramOptions {
    int Port = 1;
    std::string PortDirectory; // empty: the default port directory
    TSimConfig Config;
    std::string RecordPath; // empty: no written record
    bool Cycle = false;     // run the soak round of line behaviours
    bool Help = false;
};

// Defaults for a demonstration: sweeping lambda, 3 s warm-up, 13.8 V, cal for 4971 ohms,
// firmware V1.2, CAN address 0x100 at 500 Kbps.
TSimProgramOptions DefaultSimProgramOptions();

// Parses the arguments after the program name. Returns false and sets `error` on a bad option.
bool ParseSimOptions(const std::vector<std::string>& args, TSimProgramOptions& options,
                     std::string& error);

std::string SimUsage(const std::string& program);
