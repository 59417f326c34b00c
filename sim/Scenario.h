#pragma once
// Line behaviours of the simulated controller, to make faults reproducible. They combine:
// stray bytes go before (and trailing ones behind) each reply, then the whole is cut into
// pieces, then bytes are paced.
#include <chrono>
#include <optional>
#include <string>

struct TSimScenario {
    bool Silent = false;        // receive and record requests, answer nothing
    int StrayBytes = 0;         // noise bytes written before each reply
    int TrailingStrayBytes = 0; // noise bytes written right behind each reply
    int SplitPieceSize = 0;     // > 0: a reply goes out in pieces of this many bytes...
    std::chrono::milliseconds SplitPause{0}; // ...with this pause between pieces
    bool Paced = false; // one byte per 10 bit times at 19200 baud, as a real line does
    // Set: close the line this long after (re)start, as when the cable is pulled.
    std::optional<std::chrono::milliseconds> DisconnectAfter{};

    bool operator==(const TSimScenario&) const = default;
};

// The time one byte takes on the line at 19200 baud with 8N1 framing: 10 bits, ~521 us.
constexpr std::chrono::nanoseconds LineByteTime{10'000'000'000LL / 19200};

// Named presets: "normal", "silent", "stray" (3 bytes), "trailing" (3 stray bytes behind each
// reply), "split" (pieces of 3 bytes, 20 ms apart), "paced", "disconnect" (after
// `disconnectAfter`). Unknown name: nothing.
std::optional<TSimScenario>
ScenarioByName(const std::string& name,
               std::chrono::milliseconds disconnectAfter = std::chrono::milliseconds(5000));
// The names ScenarioByName knows, separated by '|', for usage texts.
std::string ScenarioNames();
