#include "Conversions.h"

#include <cmath>

namespace {
constexpr double CalPerOhm = 0.0103;
constexpr double CalOffset = 948.8;
constexpr double VoltsPerCountAdc = 0.01953;
constexpr double SupplyDivider = 3.2;
} // namespace

double LambdaFromRaw(uint8_t low, uint8_t high) {
    return (high * 256 + low) / 1000.0;
}

double SupplyVolts(uint8_t raw) {
    return raw * VoltsPerCountAdc * SupplyDivider;
}

int64_t RoundHalfEvenInt(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    auto result = static_cast<int64_t>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2) != 0)) {
        ++result;
    }
    return result;
}

int64_t CalFromResistance(int64_t ohms) {
    return RoundHalfEvenInt(static_cast<double>(ohms) * CalPerOhm + CalOffset);
}

int64_t ResistanceFromCal(int64_t cal) {
    return RoundHalfEvenInt((static_cast<double>(cal) - CalOffset) / CalPerOhm);
}

std::string FirmwareVersionText(uint8_t versionByte, char decimalSeparator) {
    // Work in whole tenths: a byte of 100 or more has three digits, of which only two
    // significant ones are kept, so the tenths digit is rounded away (halves to even).
    int tenths = versionByte;
    if (tenths >= 100) {
        const int whole = tenths / 10;
        const int rest = tenths % 10;
        const bool up = rest > 5 || (rest == 5 && (whole % 2) != 0);
        tenths = (whole + (up ? 1 : 0)) * 10;
    }
    std::string text = "V" + std::to_string(tenths / 10);
    text += decimalSeparator;
    text += static_cast<char>('0' + tenths % 10);
    return text;
}
