#pragma once
// How a reply goes out on the line under a scenario: which bytes are written together and
// when, counted from the moment the reply is ready. Pure: the simulator carries it out.
#include <chrono>
#include <cstdint>
#include <vector>

#include "Scenario.h"

struct TLineWrite {
    std::chrono::nanoseconds At{0};
    std::vector<uint8_t> Bytes;
};

// Noise written before replies in the stray-bytes scenario (a sync byte among them on purpose).
std::vector<uint8_t> StrayNoise(int count);

// The writes for one reply; none when the scenario is silent or the reply is empty.
std::vector<TLineWrite> PlanReply(const std::vector<uint8_t>& reply, const TSimScenario& scenario);
