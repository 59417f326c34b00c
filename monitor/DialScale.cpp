#include "DialScale.h"

#include <algorithm>
#include <cmath>

TDialScale LambdaDialScale() {
    return TDialScale();
}

namespace {

struct TLabelStep {
    double Size = 1;
    int SubSteps = 5;
    int Decimals = 0;
};

// The smallest step of 1, 2, 2.5 or 5 times a power of ten that covers [low, high] in at most
// MaxSteps whole steps.
TLabelStep StepFor(double low, double high) {
    struct TMantissa {
        double Value;
        int SubSteps; // minor ticks at a fifth, a quarter or a fifth of the step
        int ExtraDecimals;
    };
    constexpr TMantissa Mantissas[] = {{1, 5, 0}, {2, 4, 0}, {2.5, 5, 1}, {5, 5, 0}};
    int exponent = static_cast<int>(std::floor(std::log10((high - low) / MaxSteps)));
    for (;; ++exponent) {
        for (const TMantissa& m : Mantissas) {
            const double size = m.Value * std::pow(10.0, exponent);
            const double steps = std::ceil(high / size - 1e-9) - std::floor(low / size + 1e-9);
            if (steps <= MaxSteps) {
                const int decimals = std::max(0, -exponent) + (exponent <= 0 ? m.ExtraDecimals : 0);
                return {size, m.SubSteps, decimals};
            }
        }
    }
}

std::string PictureWithDecimals(int decimals) {
    return decimals == 0 ? "#0" : "#0." + std::string(static_cast<size_t>(decimals), '0');
}

} // namespace

TDialScale AfrDialScale(double stoichiometric) {
    const double low = DialLambdaFrom * stoichiometric;
    const double high = DialLambdaTo * stoichiometric;
    const TLabelStep step = StepFor(low, high);
    TDialScale scale;
    const double from = std::floor(low / step.Size + 1e-9) * step.Size;
    const double to = std::ceil(high / step.Size - 1e-9) * step.Size;
    scale.From = static_cast<float>(from);
    scale.To = static_cast<float>(to);
    scale.Steps = static_cast<int>(std::lround((to - from) / step.Size));
    scale.SubSteps = step.SubSteps;
    scale.LabelFormat = PictureWithDecimals(step.Decimals);
    scale.Name = "AFR";
    scale.NumberFormat = "#0.0";
    scale.Factor = stoichiometric;
    return scale;
}
