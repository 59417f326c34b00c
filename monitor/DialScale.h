#pragma once
// The dial's scale and the big number in the unit the user shows: lambda, as the main window
// is laid out, or AFR for the chosen fuel. In AFR the scale covers lambda 0.65 to 1.35 times
// the fuel's stoichiometric ratio, widened to whole label steps of 1, 2, 2.5 or 5 times a
// power of ten, at most MaxSteps of them, so every label is a round number.
#include <string>

#include "dialogs/DisplaySettings.h" // DialLambdaFrom, DialLambdaTo

struct TDialScale {
    float From = 0.65f;
    float To = 1.35f;
    int Steps = 14;
    int SubSteps = 5;
    std::string LabelFormat = "#0.00";   // the scale's labels
    std::string Name = "LAMBDA";         // the caption under the dial
    std::string NumberFormat = "#0.00#"; // the big number
    double Factor = 1;                   // shown value = lambda x Factor

    // The scale value of a lambda.
    double Shown(double lambda) const { return lambda * Factor; }
};

inline constexpr int MaxSteps = 14;

// The main window's lambda scale.
TDialScale LambdaDialScale();
// The scale relabelled in AFR for a stoichiometric ratio (above 0).
TDialScale AfrDialScale(double stoichiometric);
