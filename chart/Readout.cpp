#include "Readout.h"

#include <cmath>
#include <ctime>

#include "Fuels.h"
#include "format/Formatting.h"

namespace {

const char* const NoValue = "\u2013"; // en dash

std::string LambdaText(double lambda, const TRegionalSettings& rs) {
    return FormatFloat("0.000", lambda, rs);
}

std::string AfrText(double lambda, double stoichiometric, const TRegionalSettings& rs) {
    return FormatFloat("0.0", AfrFromLambda(lambda, stoichiometric), rs);
}

void SetColumn(TReadoutTexts& texts, TReadoutColumn column, double lambda, double stoichiometric,
               const TRegionalSettings& rs) {
    texts.Lambda[column] = LambdaText(lambda, rs);
    texts.Afr[column] = AfrText(lambda, stoichiometric, rs);
}

} // namespace

std::string TimeOfDayText(double epochSeconds, const TRegionalSettings& rs) {
    return TimeToStr(LocalTimeAt(static_cast<std::time_t>(std::floor(epochSeconds))), rs);
}

TReadoutTexts MakeReadout(const TSeriesPoint* newest, const TSpanStats& stats, double spanSeconds,
                          double stoichiometric, const TRegionalSettings& rs) {
    TReadoutTexts texts;
    texts.Lambda.fill(NoValue);
    texts.Afr.fill(NoValue);
    texts.Heading[rcNewest] = "Newest";
    if (newest != nullptr) {
        texts.Heading[rcNewest] += " " + TimeOfDayText(newest->Time, rs) + ", " +
                                   FormatFloat("0.0", newest->Volts(), rs) + " V";
        if (newest->Warmup()) {
            // The sensor's value says nothing yet; the main window shows 1.00 meanwhile.
            texts.Heading[rcNewest] += ", warming up";
        }
        SetColumn(texts, rcNewest, newest->Lambda, stoichiometric, rs);
    }
    const std::string over = " (" + SpanName(spanSeconds) + ")";
    texts.Heading[rcMin] = "Min" + over;
    texts.Heading[rcMax] = "Max" + over;
    texts.Heading[rcMean] = "Mean" + over;
    if (stats.Count > 0) {
        SetColumn(texts, rcMin, stats.Min, stoichiometric, rs);
        SetColumn(texts, rcMax, stats.Max, stoichiometric, rs);
        SetColumn(texts, rcMean, stats.Mean, stoichiometric, rs);
    }
    return texts;
}

std::string SpanName(double seconds) {
    const long total = std::lround(seconds);
    const long hours = total / 3600;
    const long minutes = total % 3600 / 60;
    const long rest = total % 60;
    std::string text;
    const auto add = [&text](long value, const char* unit) {
        text += (text.empty() ? "" : " ") + std::to_string(value) + " " + unit;
    };
    if (hours > 0) {
        add(hours, "h");
    }
    if (minutes > 0) {
        add(minutes, "min");
    }
    if (rest > 0 && hours == 0) {
        add(rest, "s");
    }
    return text.empty() ? "0 s" : text;
}

std::string AfrAxisLabel(const std::string& fuel, double stoichiometric,
                         const TRegionalSettings& rs) {
    return "AFR (" + fuel + ", " + FloatToStr(stoichiometric, rs) + ")";
}
