#include "Scenario.h"

std::optional<TSimScenario> ScenarioByName(const std::string& name,
                                           std::chrono::milliseconds disconnectAfter) {
    TSimScenario scenario;
    if (name == "normal") {
        return scenario;
    }
    if (name == "silent") {
        scenario.Silent = true;
    } else if (name == "stray") {
        scenario.StrayBytes = 3;
    } else if (name == "trailing") {
        scenario.TrailingStrayBytes = 3;
    } else if (name == "split") {
        scenario.SplitPieceSize = 3;
        scenario.SplitPause = std::chrono::milliseconds(20);
    } else if (name == "paced") {
        scenario.Paced = true;
    } else if (name == "disconnect") {
        scenario.DisconnectAfter = disconnectAfter;
    } else {
        return std::nullopt;
    }
    return scenario;
}

std::string ScenarioNames() {
    return "normal|silent|stray|trailing|split|paced|disconnect";
}
