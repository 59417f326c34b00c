#include "ScenarioCycle.h"

#include <exception>

#include "Simulator.h"

using namespace std::chrono_literals;

std::vector<TCyclePhase> SoakCycle() {
    std::vector<TCyclePhase> phases;
    phases.push_back({"normal", TSimScenario(), 8s});
    phases.push_back({"stray", *ScenarioByName("trailing"), 8s});
    phases.push_back({"split", *ScenarioByName("split"), 8s});
    phases.push_back({"silent", *ScenarioByName("silent"), 4s});
    phases.push_back({"unplugged", TSimScenario(), 4s, true});
    return phases;
}

TScenarioCycle::TScenarioCycle(TWbxSimulator& simulator, std::vector<TCyclePhase> phases)
    : FSimulator(simulator), FPhases(std::move(phases)) {}

TScenarioCycle::~TScenarioCycle() {
    Stop();
}

void TScenarioCycle::Start() {
    if (FThread.joinable() || FPhases.empty()) {
        return;
    }
    FStop = false;
    FThread = std::thread([this] { Run(); });
}

void TScenarioCycle::Stop() {
    if (!FThread.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(FLock);
        FStop = true;
    }
    FStopped.notify_all();
    FThread.join();
}

void TScenarioCycle::Run() {
    for (;;) {
        for (const TCyclePhase& phase : FPhases) {
            {
                std::lock_guard<std::mutex> guard(FLock);
                if (FStop) {
                    return;
                }
            }
            RunPhase(phase);
        }
    }
}

void TScenarioCycle::RunPhase(const TCyclePhase& phase) {
    FSimulator.Note("phase " + phase.Name);
    if (!phase.Unplugged) {
        FSimulator.SetScenario(phase.Scenario);
        Pause(phase.Length);
        return;
    }
    TSimScenario unplug = phase.Scenario;
    unplug.DisconnectAfter = 0ms; // counted from the last start: at once
    FSimulator.SetScenario(unplug);
    FSimulator.WaitForDisconnect(2s);
    Pause(phase.Length);
    FSimulator.SetScenario(phase.Scenario);
    try {
        FSimulator.Restart();
        FSimulator.Note("reappear");
    } catch (const std::exception& e) {
        FSimulator.Note(std::string("reappear failed: ") + e.what());
    }
}

bool TScenarioCycle::Pause(std::chrono::milliseconds length) {
    std::unique_lock<std::mutex> lock(FLock);
    return !FStopped.wait_for(lock, length, [this] { return FStop; });
}
