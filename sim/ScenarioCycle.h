#pragma once
// Runs the simulated controller through a round of line behaviours, over and over, for long
// runs of the utility: each phase sets a scenario for its length; an unplugged phase closes
// the line (the published link goes too) and brings the controller back under the same name
// at its end. Each phase is noted in the simulator's record.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Scenario.h"

class TWbxSimulator;

struct TCyclePhase {
    std::string Name;
    TSimScenario Scenario;
    std::chrono::milliseconds Length{0};
    bool Unplugged = false;
};

// The soak round: normal, stray bytes behind each reply, split replies, silence, unplugged.
std::vector<TCyclePhase> SoakCycle();

class TScenarioCycle {
public:
    TScenarioCycle(TWbxSimulator& simulator, std::vector<TCyclePhase> phases);
    ~TScenarioCycle();
    TScenarioCycle(const TScenarioCycle&) = delete;
    TScenarioCycle& operator=(const TScenarioCycle&) = delete;

    void Start();
    // Ends the round where it is; an unplugged controller is brought back first.
    void Stop();

private:
    void Run();
    void RunPhase(const TCyclePhase& phase);
    // Waits `length`; false when a stop came first.
    bool Pause(std::chrono::milliseconds length);

    TWbxSimulator& FSimulator;
    std::vector<TCyclePhase> FPhases;
    std::mutex FLock;
    std::condition_variable FStopped;
    bool FStop = false;
    std::thread FThread;
};
