#include "LiveSource.h"

#include <algorithm>
#include <cmath>

#include "protocol/Conversions.h"

double LambdaAt(const TLiveSettings& settings, double seconds) {
    if (!settings.Sweep || settings.SweepPeriodSeconds <= 0) {
        return settings.Lambda;
    }
    const double phase = std::fmod(std::max(seconds, 0.0), settings.SweepPeriodSeconds) /
                         settings.SweepPeriodSeconds;
    const double rise = 1.0 - std::fabs(2.0 * phase - 1.0); // 0 -> 1 -> 0
    return SweepLow + (SweepHigh - SweepLow) * rise;
}

TLiveReading LiveReadingAt(const TLiveSettings& settings, double seconds) {
    TLiveReading reading;
    reading.LambdaRaw = LambdaRawFromValue(LambdaAt(settings, seconds));
    reading.WarmupFlag = seconds < settings.WarmupSeconds ? 1 : 0;
    reading.SupplyRaw = SupplyRawFromVolts(settings.SupplyVolts);
    return reading;
}

uint16_t LambdaRawFromValue(double lambda) {
    const double scaled = lambda * 1000.0;
    const double raw = std::isnan(scaled) ? 0.0 : std::clamp(scaled, 0.0, 65535.0);
    return static_cast<uint16_t>(RoundHalfEvenInt(raw));
}

uint8_t SupplyRawFromVolts(double volts) {
    const double scaled = volts / SupplyVolts(1);
    const double raw = std::isnan(scaled) ? 0.0 : std::clamp(scaled, 0.0, 255.0);
    return static_cast<uint8_t>(RoundHalfEvenInt(raw));
}
