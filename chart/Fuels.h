#pragma once
// Fuels and their stoichiometric air-fuel ratios: AFR = lambda x the fuel's ratio.
#include <optional>
#include <span>
#include <string>

struct TFuel {
    const char* Name;
    double Stoichiometric;
};

// Gasoline, E10, E85, ethanol, methanol, diesel, LPG, CNG, in that order.
std::span<const TFuel> StandardFuels();

inline double AfrFromLambda(double lambda, double stoichiometric) {
    return lambda * stoichiometric;
}

// A ratio the user typed, with a decimal point or comma: a number above 0 and up to
// MaxStoichiometric. Nothing for any other text.
std::optional<double> ParseStoichiometricRatio(const std::string& text);
constexpr double MaxStoichiometric = 100;
