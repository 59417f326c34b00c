#include "ReplyPlan.h"

#include <algorithm>

std::vector<uint8_t> StrayNoise(int count) {
    static constexpr uint8_t Pattern[] = {0x55, 0x00, 0xC0, 0xFF, 0xAA};
    std::vector<uint8_t> noise;
    for (int i = 0; i < count; ++i) {
        noise.push_back(Pattern[i % static_cast<int>(sizeof Pattern)]);
    }
    return noise;
}

std::vector<TLineWrite> PlanReply(const std::vector<uint8_t>& reply, const TSimScenario& scenario) {
    std::vector<TLineWrite> writes;
    if (scenario.Silent || reply.empty()) {
        return writes;
    }
    std::vector<uint8_t> bytes = StrayNoise(scenario.StrayBytes);
    bytes.insert(bytes.end(), reply.begin(), reply.end());
    const std::vector<uint8_t> trailing = StrayNoise(scenario.TrailingStrayBytes);
    bytes.insert(bytes.end(), trailing.begin(), trailing.end());

    const size_t pieceSize =
        scenario.SplitPieceSize > 0 ? static_cast<size_t>(scenario.SplitPieceSize) : bytes.size();
    std::chrono::nanoseconds at{0};
    for (size_t start = 0; start < bytes.size(); start += pieceSize) {
        if (start > 0) {
            at += scenario.SplitPause;
        }
        const size_t end = std::min(bytes.size(), start + pieceSize);
        if (scenario.Paced) {
            for (size_t i = start; i < end; ++i) {
                writes.push_back({at, {bytes[i]}});
                at += LineByteTime;
            }
        } else {
            writes.push_back({at, {bytes.begin() + start, bytes.begin() + end}});
        }
    }
    return writes;
}
