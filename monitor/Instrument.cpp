#include "Instrument.h"

#include <QWidget>
#include <cmath>
#include <optional>

#include "DashWindow.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbRMeter.h"

namespace {
// The big number while an alarm stands.
constexpr uint32_t AlarmNumberColor = 0x000000E6u; // red, 0x00BBGGRR

TAlarmLimits AlarmLimitsOf(const TDisplaySettings& s) {
    TAlarmLimits l;
    l.Lean = s.LeanAlarm;
    l.Rich = s.RichAlarm;
    l.LeanLimit = s.Limits.LeanLimit;
    l.RichLimit = s.Limits.RichLimit;
    l.HoldSeconds = s.HoldSeconds;
    l.Hysteresis = s.Hysteresis;
    return l;
}

float ExtremeOrSentinel(double lambda, const TDialScale& scale, float sentinel) {
    return std::isnan(lambda) ? sentinel : static_cast<float>(scale.Shown(lambda));
}
} // namespace

std::string TitleFor(TMixtureSide alarm) {
    switch (alarm) {
    case TMixtureSide::Lean:
        return std::string("LEAN - ") + MainTitle;
    case TMixtureSide::Rich:
        return std::string("RICH - ") + MainTitle;
    default:
        return MainTitle;
    }
}

TInstrument::TInstrument(const TInstrumentParts& parts, TAlarmSoundFactory soundFactory)
    : FParts(parts), FSoundFactory(std::move(soundFactory)), FShown(parts.Dial->Value()) {}

TInstrument::~TInstrument() {
    if (FSound) {
        FSound->Stop();
    }
}

void TInstrument::Apply(const TDisplaySettings& settings, double stoichiometric) {
    FSettings = settings;
    FLook = DialLookFor(settings, stoichiometric);
    ApplyDialLook(*FParts.Dial, FLook);
    FParts.Number->SetFormatStr(FLook.Scale.NumberFormat);
    FDamping.SetTimeConstant(settings.DampingSeconds);
    const TAlarmLimits limits = AlarmLimitsOf(settings);
    if (!(limits == FAlarm.Limits())) {
        FAlarm.SetLimits(limits); // a standing alarm is judged afresh
    }
    if (!settings.PeakHold) {
        FPeakLow = FPeakHigh = NoPeak;
    }
    if (settings.Sound && settings.Alarm() && !FSound && FSoundFactory) {
        FSound = FSoundFactory();
        FSound->OnProblemChanged = [this] {
            if (OnSoundProblemChanged) {
                OnSoundProblemChanged();
            }
        };
    }
    if (OnSoundProblemChanged) {
        OnSoundProblemChanged();
    }
    // The shown reading in the new unit (the number only once there has been a reading), the
    // extremes on the new scale.
    ShowValue(FShown);
    ShowPeaks();
    ShowAlarm();
    if (FDash != nullptr) {
        FDash->ApplyLook(FLook);
        UpdateDash();
    }
}

void TInstrument::Reading(double now, double lambda, bool warmup) {
    FHasReading = true;
    // The dial and the number show 1 while the sensor warms up, as they always have.
    const double value = warmup ? 1.0 : lambda;
    ShowValue(FDamping.Add(now, value));
    if (FSettings.Alarm()) {
        FAlarm.Reading(now, lambda, !warmup);
        ShowAlarm();
    }
    if (FSettings.PeakHold && !warmup) {
        TrackPeaks(lambda);
    }
    if (DashShown()) {
        UpdateDash();
    }
}

void TInstrument::ShowValue(double lambdaShown) {
    FShown = lambdaShown;
    const double shown = FLook.Scale.Shown(lambdaShown);
    if (DashShown()) {
        FDash->ShowValue(shown);
    }
    // A full-screen dash hides the main window: its dial and number wait until it is seen.
    FMainBehind = DashShown() && FDash->isFullScreen();
    if (!FMainBehind) {
        ShowMainValue();
    }
}

void TInstrument::ShowMainValue() {
    const double shown = FLook.Scale.Shown(FShown);
    if (FHasReading) {
        FParts.Number->SetValue(shown);
    }
    FParts.Dial->SetValue(static_cast<float>(shown));
}

void TInstrument::DashHidden() {
    if (FMainBehind) {
        FMainBehind = false;
        ShowMainValue();
    }
}

void TInstrument::TrackPeaks(double lambda) {
    const bool lower = std::isnan(FPeakLow) || lambda < FPeakLow;
    const bool higher = std::isnan(FPeakHigh) || lambda > FPeakHigh;
    if (!lower && !higher) {
        return;
    }
    if (lower) {
        FPeakLow = lambda;
    }
    if (higher) {
        FPeakHigh = lambda;
    }
    ShowPeaks();
}

void TInstrument::ShowPeaks() {
    const float low = ExtremeOrSentinel(FPeakLow, FLook.Scale, TMinMax::MinSentinel);
    const float high = ExtremeOrSentinel(FPeakHigh, FLook.Scale, TMinMax::MaxSentinel);
    FParts.Dial->SetExtremes(low, high);
    if (FDash != nullptr) {
        FDash->ShowExtremes(low, high);
    }
}

void TInstrument::ResetPeaks() {
    FPeakLow = FPeakHigh = NoPeak;
    ShowPeaks();
}

void TInstrument::LinkChanged() {
    FAlarm.Disarm();
    FDamping.Reset();
    ShowAlarm();
    UpdateDash();
}

void TInstrument::Acknowledge() {
    FAlarm.Acknowledge();
    ShowAlarm();
}

void TInstrument::ShowAlarm() {
    const TMixtureSide side = FAlarm.Tripped();
    const bool silenced = side != TMixtureSide::None && FAlarm.Acknowledged();
    const bool sounding = FSettings.Sound && FAlarm.Sounding();
    if (sounding != FSounding && FSound) {
        if (sounding) {
            FSound->Start();
        } else {
            FSound->Stop();
        }
    }
    FSounding = sounding && FSound;
    if (side == FShownAlarm && silenced == FShownSilenced) {
        return;
    }
    const bool changedSide = side != FShownAlarm;
    FShownAlarm = side;
    FShownSilenced = silenced;
    if (changedSide) {
        if (OnAlarmChanged) {
            OnAlarmChanged();
        }
        FParts.Window->setWindowTitle(QString::fromStdString(TitleFor(side)));
        FParts.Dial->SetAlarmFlash(side != TMixtureSide::None);
        FParts.Number->SetFontColor(
            side != TMixtureSide::None ? std::optional<uint32_t>(AlarmNumberColor) : std::nullopt);
    }
    if (FDash != nullptr) {
        FDash->ShowAlarm(side, silenced);
    }
}

std::string TInstrument::SoundProblem() const {
    return FSound && FSettings.Sound ? FSound->Problem() : std::string();
}

bool TInstrument::DashShown() const {
    return FDash != nullptr && FDash->isVisible();
}

void TInstrument::SetDash(TDashForm* dash) {
    FDash = dash;
    if (FDash != nullptr) {
        FDash->ApplyLook(FLook);
        ShowPeaks();
        FDash->ShowAlarm(FShownAlarm, FShownSilenced);
        FDash->ShowValue(FLook.Scale.Shown(FShown));
        UpdateDash();
    }
}

void TInstrument::UpdateDash() {
    if (FDash == nullptr) {
        return;
    }
    FDash->ShowLamps(FParts.Online->Checked(), FParts.Offline->Checked(), FParts.Warmup->Checked());
    FDash->ShowVolts(FParts.Volts->Value());
}
