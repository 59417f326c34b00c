#include "Fuels.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
constexpr TFuel Fuels[] = {
    {"Gasoline", 14.7}, {"E10", 14.1},    {"E85", 9.765}, {"Ethanol", 9.0},
    {"Methanol", 6.4},  {"Diesel", 14.5}, {"LPG", 15.5},  {"CNG", 17.2},
};
} // namespace

std::span<const TFuel> StandardFuels() {
    return Fuels;
}

std::optional<double> ParseStoichiometricRatio(const std::string& text) {
    std::string s = text;
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    std::replace(s.begin(), s.end(), ',', '.');
    if (s.empty() || s.front() == '+' || s.front() == '-') {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(value) || value <= 0 ||
        value > MaxStoichiometric) {
        return std::nullopt;
    }
    return value;
}
