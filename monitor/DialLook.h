#pragma once
// How the lambda dial looks with the driver's instrument set up: its scale in the chosen
// unit, the rich, target and lean bands, the peak markers, and its ticks in the night
// theme. The main window's dial and the dash's dial are set up by the same call; with
// everything off a dial is set up exactly as the main window's dial is laid out.
#include "DialScale.h"
#include "dialogs/DisplaySettings.h"
#include "widgets/AbColors.h"

class TAb270Meter;

struct TDialLook {
    TDialScale Scale;
    bool Bands = false;
    TMixtureLimits Limits;
    bool Peaks = false; // the extremes are marked, and set only by the owner
    bool Night = false; // ticks in the window text colour instead of black
};

// The bands' colours: lean reads as danger.
inline constexpr TColor RichBandColor = RGB(40, 110, 235);
inline constexpr TColor TargetBandColor = RGB(0, 165, 60);
inline constexpr TColor LeanBandColor = RGB(235, 0, 0);

// The look the settings ask for; AFR for the fuel's `stoichiometric` ratio.
TDialLook DialLookFor(const TDisplaySettings& settings, double stoichiometric);

void ApplyDialLook(TAb270Meter& meter, const TDialLook& look);
