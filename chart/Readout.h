#pragma once
// The texts of the chart's readout: the newest reading and the lowest, highest and mean
// lambda over the span in view, each as lambda and as AFR, in the user's number format.
#include <array>
#include <string>

#include "LambdaSeries.h"
#include "format/Regional.h"

// Columns of the readout.
enum TReadoutColumn { rcNewest, rcMin, rcMax, rcMean, rcCount };

struct TReadoutTexts {
    std::array<std::string, rcCount> Heading;
    std::array<std::string, rcCount> Lambda;
    std::array<std::string, rcCount> Afr;
};

// `newest` may be null (nothing in view); statistics with no readings show dashes.
TReadoutTexts MakeReadout(const TSeriesPoint* newest, const TSpanStats& stats, double spanSeconds,
                          double stoichiometric, const TRegionalSettings& rs = RegionalSettings());

// "10 s", "1 min", "1 min 30 s", "1 h", "1 h 5 min".
std::string SpanName(double seconds);

// "AFR (Gasoline, 14.7)".
std::string AfrAxisLabel(const std::string& fuel, double stoichiometric,
                         const TRegionalSettings& rs = RegionalSettings());

// Time of day of a time in seconds since the epoch, in the long time format.
std::string TimeOfDayText(double epochSeconds, const TRegionalSettings& rs = RegionalSettings());
