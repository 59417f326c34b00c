#include "AbAnalogGControl.h"

#include <QEvent>
#include <algorithm>
#include <climits>
#include <cmath>

#include "format/Formatting.h"

namespace {

// Nearest integer (halves to even), saturated to the int range; NaN gives 0.
int SafeRound(double v) {
    if (std::isnan(v))
        return 0;
    v = std::nearbyint(v);
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

} // namespace

TAbAnalogGControl::TAbAnalogGControl(QWidget* parent) : TAbGraphicControl(parent) {
    QFont f("Arial");
    f.setPointSize(8);
    setFont(f);
    // The default value lies inside the default limits; record that without notifying.
    FULimit = FValue > FLimitUpper;
    FLLimit = FValue < FLimitLower;
}

// --- value and digit ---------------------------------------------------------------------

int TAbAnalogGControl::DigitOfValue(float v) const {
    const TSignalSettings& s = FSignalSettings;
    if (FLogScale) {
        const double ratio = static_cast<double>(v) / static_cast<double>(s.ValueFrom());
        return SafeRound(std::log10(ratio) * FLogFactor1) + s.DigitalFrom();
    }
    const float digit =
        (v - s.ValueFrom()) * s.DigitPerValue() + static_cast<float>(s.DigitalFrom());
    return SafeRound(digit);
}

int TAbAnalogGControl::PositionOfDigit() const {
    return PositionOf(FDigit);
}

int TAbAnalogGControl::PositionOf(int digit) const {
    const int total = FSignalSettings.TotalDigit();
    if (total == 0)
        return 0;
    const double offset = static_cast<double>(digit) - FSignalSettings.DigitalFrom();
    return SafeRound(1000.0 / total * offset);
}

void TAbAnalogGControl::SetValue(float v) {
    if (v == FValue)
        return;
    if (FLogScale && v <= 0)
        return;
    FValue = v;
    FDigit = DigitOfValue(v);
    ValueChange();
}

void TAbAnalogGControl::SetDigit(int d) {
    if (d == FDigit)
        return;
    FDigit = d;
    const TSignalSettings& s = FSignalSettings;
    const double steps = static_cast<double>(d) - s.DigitalFrom();
    if (FLogScale) {
        if (FLogFactor1 - FLogFactor2 != 0 && FLogFactor1 != 0)
            FValue = static_cast<float>(std::pow(10.0, steps / FLogFactor1 - FLogFactor2));
    } else {
        FValue = static_cast<float>(steps) * s.ValuePerDigit() + s.ValueFrom();
    }
    ValueChange();
}

void TAbAnalogGControl::SetLimitUpper(float v) {
    if (v == FLimitUpper)
        return;
    FLimitUpper = v;
    ValueChange();
}

void TAbAnalogGControl::SetLimitLower(float v) {
    if (v == FLimitLower)
        return;
    FLimitLower = v == 0 ? 0.0001f : v;
    ValueChange();
}

void TAbAnalogGControl::SetHintOptions(THintOptions options) {
    const bool switchedOn = options.Contains(hoAutoHint) && !FHintOptions.Contains(hoAutoHint);
    if (options == FHintOptions)
        return;
    FHintOptions = options;
    if (switchedOn)
        ValueChange();
    else
        BuildHint(); // other parts of the hint changed; switching it off keeps the last text
}

void TAbAnalogGControl::SetFontColor(TColor c) {
    if (c == FFontColor)
        return;
    FFontColor = c;
    if (FLoaded)
        ParamChange(this);
}

// --- value update ------------------------------------------------------------------------

void TAbAnalogGControl::ValueChange() {
    CheckPosition();
    EvaluateStates();
    TrackMinMax();
    BuildHint();
    if (OnValueChange)
        OnValueChange(this);
}

void TAbAnalogGControl::EvaluateStates() {
    FValueStr = FormatFloat(FSignalSettings.ValueFormat(), FValue);
    FPPT = PositionOfDigit();
    CheckSectors();
    CheckLimits();
    CheckOverflow();
}

void TAbAnalogGControl::CheckPosition() {
    if (pos() == FLastPos)
        return;
    FLastPos = pos();
    if (OnPosChanged)
        OnPosChanged(this);
}

void TAbAnalogGControl::CheckSectors() {
    for (int n = 1; n <= 3; ++n) {
        const bool in = FSectorSettings.InSector(n, FPPT);
        if (in == FInSector[n - 1])
            continue;
        FInSector[n - 1] = in;
        if (OnSectorChange)
            OnSectorChange(this, n == 1, n == 2, n == 3, in);
    }
}

void TAbAnalogGControl::CheckLimits() {
    const bool upper = FValue > FLimitUpper;
    const bool lower = FValue < FLimitLower;
    if (upper == FULimit && lower == FLLimit)
        return;
    FULimit = upper;
    FLLimit = lower;
    LimitChange();
    if (OnLimit)
        OnLimit(this, lower, upper);
}

void TAbAnalogGControl::CheckOverflow() {
    const int ppt = FPPT;
    if (ppt < 0) {
        if (!FLOverflow) {
            FLOverflow = true;
            FUOverflow = false;
            OverflowChange(ppt);
            if (OnOverflow)
                OnOverflow(this, ppt);
        }
        FPPT = 0;
    } else if (ppt > 1000) {
        if (!FUOverflow) {
            FUOverflow = true;
            FLOverflow = false;
            OverflowChange(ppt);
            if (OnOverflow)
                OnOverflow(this, ppt);
        }
        FPPT = 1000;
    } else if (FLOverflow || FUOverflow) {
        FLOverflow = false;
        FUOverflow = false;
        OverflowChange(ppt);
        if (OnOverflow)
            OnOverflow(this, ppt);
    }
}

void TAbAnalogGControl::TrackMinMax() {
    if (!FTrackExtremes)
        return;
    if (FMinMax.Min() > FValue) {
        const float old = FMinMax.Min();
        FMinMax.RecordMin(FValue, AbNow());
        FMinPPT = FPPT;
        if (old != TMinMax::MinSentinel)
            MinMaxChange(this);
    }
    if (FMinMax.Max() < FValue) {
        const float old = FMinMax.Max();
        FMinMax.RecordMax(FValue, AbNow());
        FMaxPPT = FPPT;
        if (old != TMinMax::MaxSentinel)
            MinMaxChange(this);
    }
}

void TAbAnalogGControl::SetExtremes(float min, float max) {
    auto position = [this](float v) { return std::clamp(PositionOf(DigitOfValue(v)), 0, 1000); };
    FMinMax.Reset();
    if (min != TMinMax::MinSentinel) {
        FMinMax.RecordMin(min, AbNow());
        FMinPPT = position(min);
    }
    if (max != TMinMax::MaxSentinel) {
        FMinMax.RecordMax(max, AbNow());
        FMaxPPT = position(max);
    }
    MinMaxChange(this);
}

std::string TAbAnalogGControl::MinMaxHintLine(const char* label, float value, double when) const {
    const TSignalSettings& s = FSignalSettings;
    std::string line =
        std::string(label) + FormatFloat(s.ValueFormat(), value) + " " + s.ValueUnit();
    const std::tm t = AbDateTimeToTm(when);
    if (FHintOptions.Contains(hoMinMaxDate))
        line += " " + DateToStr(t);
    if (FHintOptions.Contains(hoMinMaxTime))
        line += " " + TimeToStr(t);
    return line;
}

void TAbAnalogGControl::BuildHint() {
    if (!FHintOptions.Contains(hoAutoHint))
        return;
    std::string text;
    auto add = [&text](const std::string& part) {
        if (!text.empty())
            text += '\r';
        text += part;
    };
    const TSignalSettings& s = FSignalSettings;
    if (FHintOptions.Contains(hoValue))
        add("Value= " + FValueStr + " " + s.ValueUnit());
    if (FHintOptions.Contains(hoMin))
        add(MinMaxHintLine("MIN= ", FMinMax.Min(), FMinMax.MinDateTime()));
    if (FHintOptions.Contains(hoMax))
        add(MinMaxHintLine("MAX= ", FMinMax.Max(), FMinMax.MaxDateTime()));
    if (FHintOptions.Contains(hoName1))
        add(s.Name1());
    if (FHintOptions.Contains(hoName2))
        add(s.Name2());
    if (text == FHint)
        return;
    FHint = text;
    setToolTip(QString::fromStdString(text).replace(QChar('\r'), QChar('\n')));
}

// --- settings ----------------------------------------------------------------------------

void TAbAnalogGControl::CalcLogFactors() {
    const TSignalSettings& s = FSignalSettings;
    const double from = s.ValueFrom();
    const double to = s.ValueTo();
    const double total = s.TotalDigit();
    FLogFactor1 = to == from ? total : total / std::log10(to / from);
    FLogFactor2 = std::log10(1.0 / from);
}

void TAbAnalogGControl::SetLogScale(bool b) {
    if (b == FLogScale)
        return;
    FLogScale = b;
    FSignalSettings.SetLogScale(b);
    FSectorSettings.SetLogScale(b);
    if (b) {
        if (FValue <= 0)
            FValue = 0.001f;
        FSignalSettings.SnapRangeToDecades();
        CalcLogFactors();
    } else {
        FSignalSettings.CalcRange();
    }
    FDigit = DigitOfValue(FValue);
    LogScaleChanged();
}

void TAbAnalogGControl::ParamChange(QObject* Sender) {
    (void)Sender;
    FSignalSettings.CalcRange();
    if (FLogScale) {
        CalcLogFactors();
        if (FValue <= 0)
            FValue = 1;
    }
    FDigit = DigitOfValue(FValue);
    // The same value may now sit elsewhere on the range: position, sectors, limits, overflow
    // and hint follow at once, not at the next reading. The value itself did not change, so
    // no value event fires.
    EvaluateStates();
    BuildHint();
    if (OnSettingsChange)
        OnSettingsChange(this);
}

void TAbAnalogGControl::OverflowChange(int ppt) {
    (void)ppt;
}

void TAbAnalogGControl::LimitChange() {}

void TAbAnalogGControl::MinMaxChange(QObject* Sender) {
    (void)Sender;
    if (OnMinMaxChange)
        OnMinMaxChange(this);
    ValueChange();
}

void TAbAnalogGControl::LogScaleChanged() {
    Change();
}

void TAbAnalogGControl::Loaded() {
    FSignalSettings.OnChange = [this](QObject* s) { ParamChange(s); };
    FSectorSettings.OnChange = [this](QObject* s) { ParamChange(s); };
    FMinMax.OnChange = [this](QObject* s) { MinMaxChange(s); };
    FMinMax.Reset();
    FLoaded = true;
}

void TAbAnalogGControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange && FLoaded)
        ParamChange(this);
    TAbGraphicControl::changeEvent(event);
}
