#include "DisplaySettings.h"

#include <QSettings>
#include <cmath>

#include "format/Formatting.h"

bool TDisplaySettings::AnyOn() const {
    return Bands || Alarm() || PeakHold || DampingSeconds > 0 || Units != TDisplayUnits::Lambda;
}

namespace {

const char* const Group = "Display";
const char* const Organization = "uego4100";
const char* const Application = "uego4100";

std::string Number(double lambda, double factor) {
    return FormatFloat(factor == 1 ? "0.00#" : "0.0#", lambda * factor);
}

} // namespace

std::string CheckMixtureLimits(const TMixtureLimits& l, double scaleFrom, double scaleTo,
                               const std::string& unit, double factor) {
    auto inside = [&](double v) { return std::isfinite(v) && v > scaleFrom && v < scaleTo; };
    const std::string range =
        "between " + Number(scaleFrom, factor) + " and " + Number(scaleTo, factor) + " " + unit;
    if (!inside(l.RichLimit) || !inside(l.LeanLimit)) {
        return "The rich and lean limits must lie " + range + ".";
    }
    if (l.RichLimit >= l.LeanLimit) {
        return "The rich limit must be below the lean limit.";
    }
    if (l.Target && !(l.RichLimit <= l.TargetLow && l.TargetLow < l.TargetHigh &&
                      l.TargetHigh <= l.LeanLimit)) {
        return "The target band must run upwards from " + Number(l.RichLimit, factor) + " to " +
               Number(l.LeanLimit, factor) + " " + unit + " at most.";
    }
    return {};
}

namespace {

double Ranged(const QSettings& s, const char* key, double fallback, double low, double high) {
    bool ok = false;
    const double v = s.value(key).toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : fallback;
}

bool Flag(const QSettings& s, const char* key) {
    return s.value(key).toString() == "on";
}

} // namespace

TDisplaySettings LoadDisplaySettings() {
    TDisplaySettings out;
    const TDisplaySettings defaults;
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, Organization, Application);
    s.beginGroup(Group);
    TMixtureLimits limits;
    limits.RichLimit = Ranged(s, "RichLimit", defaults.Limits.RichLimit, 0, 10);
    limits.LeanLimit = Ranged(s, "LeanLimit", defaults.Limits.LeanLimit, 0, 10);
    limits.Target = Flag(s, "TargetBand");
    limits.TargetLow = Ranged(s, "TargetLow", defaults.Limits.TargetLow, 0, 10);
    limits.TargetHigh = Ranged(s, "TargetHigh", defaults.Limits.TargetHigh, 0, 10);
    if (CheckMixtureLimits(limits, DialLambdaFrom, DialLambdaTo, "", 1).empty()) {
        out.Limits = limits;
    }
    out.Bands = Flag(s, "Bands");
    out.LeanAlarm = Flag(s, "LeanAlarm");
    out.RichAlarm = Flag(s, "RichAlarm");
    out.HoldSeconds = Ranged(s, "HoldSeconds", defaults.HoldSeconds, 0, MaxHoldSeconds);
    out.Hysteresis = Ranged(s, "Hysteresis", defaults.Hysteresis, 0, MaxHysteresis);
    out.Sound = Flag(s, "Sound");
    out.PeakHold = Flag(s, "PeakHold");
    out.DampingSeconds = Ranged(s, "DampingSeconds", 0, 0, MaxDampingSeconds);
    out.Units = s.value("Units").toString() == "afr" ? TDisplayUnits::Afr : TDisplayUnits::Lambda;
    out.NightTheme = Flag(s, "NightTheme");
    return out;
}

void SaveDisplaySettings(const TDisplaySettings& d) {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, Organization, Application);
    s.beginGroup(Group);
    auto flag = [](bool on) { return on ? "on" : "off"; };
    s.setValue("Bands", flag(d.Bands));
    s.setValue("RichLimit", d.Limits.RichLimit);
    s.setValue("LeanLimit", d.Limits.LeanLimit);
    s.setValue("TargetBand", flag(d.Limits.Target));
    s.setValue("TargetLow", d.Limits.TargetLow);
    s.setValue("TargetHigh", d.Limits.TargetHigh);
    s.setValue("LeanAlarm", flag(d.LeanAlarm));
    s.setValue("RichAlarm", flag(d.RichAlarm));
    s.setValue("HoldSeconds", d.HoldSeconds);
    s.setValue("Hysteresis", d.Hysteresis);
    s.setValue("Sound", flag(d.Sound));
    s.setValue("PeakHold", flag(d.PeakHold));
    s.setValue("DampingSeconds", d.DampingSeconds);
    s.setValue("Units", d.Units == TDisplayUnits::Afr ? "afr" : "lambda");
    s.setValue("NightTheme", flag(d.NightTheme));
}
