#include "AbAnalogSettings.h"

#include <cmath>

#include "format/Formatting.h"

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long>(yoe) + era * 400 + (m <= 2));
}

constexpr long kDateTimeEpochOffset = 25569; // days from 1899-12-30 to 1970-01-01

} // namespace

double AbNow() {
    const std::tm t = LocalNow();
    const long days = DaysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    const double secs = t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec;
    return static_cast<double>(days + kDateTimeEpochOffset) + secs / 86400.0;
}

std::tm AbDateTimeToTm(double dateTime) {
    std::tm t{};
    const double whole = std::floor(dateTime);
    int y = 0, m = 0, d = 0;
    CivilFromDays(static_cast<long>(whole) - kDateTimeEpochOffset, y, m, d);
    t.tm_year = y - 1900;
    t.tm_mon = m - 1;
    t.tm_mday = d;
    long secs = std::lround((dateTime - whole) * 86400.0);
    if (secs >= 86400)
        secs = 86399;
    t.tm_hour = static_cast<int>(secs / 3600);
    t.tm_min = static_cast<int>(secs / 60 % 60);
    t.tm_sec = static_cast<int>(secs % 60);
    t.tm_isdst = -1;
    return t;
}

float AbRoundLogValue(float value) {
    if (value <= 0)
        value = 1;
    const double exponent = std::nearbyint(std::log10(static_cast<double>(value)));
    return static_cast<float>(std::pow(10.0, exponent));
}

// --- TSectorSettings ---------------------------------------------------------------------

int TSectorSettings::SectorFrom(int n) const {
    return n == 1 ? FSector1From : n == 2 ? FSector2From : FSector3From;
}

int TSectorSettings::SectorTo(int n) const {
    return n == 1 ? FSector1To : n == 2 ? FSector2To : FSector3To;
}

TColor TSectorSettings::SectorColor(int n) const {
    return n == 1 ? FSector1Color : n == 2 ? FSector2Color : FSector3Color;
}

bool TSectorSettings::CheckSectorColor(int ppt, TColor& Col) const {
    for (int n = 1; n <= 3; ++n) {
        if (InSector(n, ppt)) {
            Col = SectorColor(n);
            return true;
        }
    }
    return false;
}

// --- TSignalSettings ---------------------------------------------------------------------

TSignalSettings::TSignalSettings() {
    CalcRange();
}

void TSignalSettings::SetValueFrom(float v) {
    if (v == FValueFrom || v == FValueTo)
        return;
    FValueFrom = v == 0 ? 0.000001f : v;
    if (FLogScale)
        SetValueFrom(AbRoundLogValue(FValueFrom));
    Change();
}

void TSignalSettings::SetValueTo(float v) {
    if (v == FValueFrom || v == FValueTo)
        return;
    FValueTo = v;
    if (FLogScale)
        SetValueTo(AbRoundLogValue(FValueTo));
    Change();
}

namespace {

// Span between two range ends by the signs of the ends; false when the ends give no span
// (a non-negative start with a non-positive end).
template <class T> bool SignedSpan(T from, T to, T& span) {
    const T a = from < 0 ? -from : from;
    const T b = to < 0 ? -to : to;
    if (from < 0 && to < 0)
        span = a - b;
    else if (from < 0)
        span = a + b;
    else if (to > 0)
        span = b - a;
    else
        return false;
    return true;
}

} // namespace

void TSignalSettings::CalcRange() {
    SignedSpan(FValueFrom, FValueTo, FTotalValue);
    if (!SignedSpan(FDigitalFrom, FDigitalTo, FTotalDigit))
        FTotalDigit = 0;
    if (FTotalDigit > 0)
        FValuePerDigit = FTotalValue / static_cast<float>(FTotalDigit);
    if (FTotalValue > 0)
        FDigitPerValue = static_cast<float>(FTotalDigit) / FTotalValue;
}

void TSignalSettings::SnapRangeToDecades() {
    FValueFrom = FValueFrom <= 0 ? 0.001f : AbRoundLogValue(FValueFrom);
    FValueTo = FValueTo <= 0 ? 0.001f : AbRoundLogValue(FValueTo);
    CalcRange();
}

void TSignalSettings::Change() {
    CalcRange();
    TAbPersistent::Change();
}

// --- TMinMax -----------------------------------------------------------------------------

TMinMax::TMinMax() {
    const double now = AbNow();
    FMaxDateTime = now;
    FMinDateTime = now;
}

void TMinMax::RecordMin(float value, double when) {
    FMin = value;
    FMinDateTime = when;
}

void TMinMax::RecordMax(float value, double when) {
    FMax = value;
    FMaxDateTime = when;
}

void TMinMax::Reset() {
    FMin = MinSentinel;
    FMax = MaxSentinel;
}
