#include "MixtureAlarm.h"

namespace {
// Reading times are sums of tick intervals; a hold time reached within this counts.
constexpr double TimeSlack = 1e-9;
} // namespace

void TMixtureAlarm::SetLimits(const TAlarmLimits& limits) {
    FLimits = limits;
    Disarm();
}

void TMixtureAlarm::Disarm() {
    FLean = {};
    FRich = {};
    FAcknowledged = false;
    FInside = false;
}

void TMixtureAlarm::Judge(TSide& side, bool enabled, bool past, bool back, double now) const {
    if (!enabled) {
        side = {};
        return;
    }
    if (side.Tripped) {
        if (back) {
            side = {};
        }
        return;
    }
    if (!past) {
        side.Pending = false;
        return;
    }
    if (!side.Pending) {
        side.Pending = true;
        side.Since = now;
    }
    if (now - side.Since + TimeSlack >= FLimits.HoldSeconds) {
        side.Tripped = true;
    }
}

void TMixtureAlarm::Reading(double now, double lambda, bool armed) {
    if (!armed) {
        Disarm();
        return;
    }
    const TAlarmLimits& l = FLimits;
    Judge(FLean, l.Lean, lambda > l.LeanLimit, lambda <= l.LeanLimit - l.Hysteresis, now);
    Judge(FRich, l.Rich, lambda < l.RichLimit, lambda >= l.RichLimit + l.Hysteresis, now);
    Rearm(now, !FLean.Tripped && !FLean.Pending && !FRich.Tripped && !FRich.Pending);
}

void TMixtureAlarm::Rearm(double now, bool inside) {
    if (!FAcknowledged) {
        return;
    }
    if (!inside) {
        FInside = false;
        return;
    }
    if (!FInside) {
        FInside = true;
        FInsideSince = now;
    }
    if (now - FInsideSince + TimeSlack >= RearmSeconds) {
        FAcknowledged = false;
        FInside = false;
    }
}

void TMixtureAlarm::Acknowledge() {
    if (Tripped() != TMixtureSide::None) {
        FAcknowledged = true;
        FInside = false;
    }
}

TMixtureSide TMixtureAlarm::Tripped() const {
    if (FLean.Tripped) {
        return TMixtureSide::Lean;
    }
    return FRich.Tripped ? TMixtureSide::Rich : TMixtureSide::None;
}

bool TMixtureAlarm::Sounding() const {
    return Tripped() != TMixtureSide::None && !FAcknowledged;
}
