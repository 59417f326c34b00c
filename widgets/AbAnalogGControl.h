#pragma once
// Base of the widgets that show one analog value: maps the value onto a digital scale and a
// per-mille position on the range, tracks sectors, limits, overflow and the extremes seen,
// keeps an automatic hint and fires the value events.
#include <QFont>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <string>

#include "AbAnalogSettings.h"
#include "AbGraphicControl.h"
#include "AbOptionSet.h"

enum THintOption : uint8_t {
    hoAutoHint,
    hoValue,
    hoName1,
    hoName2,
    hoMin,
    hoMax,
    hoMinMaxDate,
    hoMinMaxTime
};

using THintOptions = TAbOptionSet<THintOption>;

using TAbOverflowEvent = std::function<void(QObject* Sender, int PPT)>;
using TAbLimitEvent = std::function<void(QObject* Sender, bool Lower, bool Upper)>;
using TAbSectorChangeEvent =
    std::function<void(QObject* Sender, bool Sector1, bool Sector2, bool Sector3, bool Enter)>;

class TAbAnalogGControl : public TAbGraphicControl {
public:
    explicit TAbAnalogGControl(QWidget* parent = nullptr);

    // --- properties ---
    float Value() const { return FValue; }
    void SetValue(float v);
    int Digit() const { return FDigit; }
    void SetDigit(int d);
    float LimitUpper() const { return FLimitUpper; }
    void SetLimitUpper(float v);
    float LimitLower() const { return FLimitLower; }
    // An exact 0 is stored as 0.0001.
    void SetLimitLower(float v);
    THintOptions HintOptions() const { return FHintOptions; }
    void SetHintOptions(THintOptions options);
    bool LogScale() const { return FLogScale; }
    void SetLogScale(bool b);

    TSectorSettings& SectorSettings() { return FSectorSettings; }
    TSignalSettings& SignalSettings() { return FSignalSettings; }
    TMinMax& MinMax() { return FMinMax; }
    const TSectorSettings& SectorSettings() const { return FSectorSettings; }
    const TSignalSettings& SignalSettings() const { return FSignalSettings; }
    const TMinMax& MinMax() const { return FMinMax; }

    // The extremes follow every value update (on at creation). Off, they change only
    // through SetExtremes: the owner decides which values count.
    bool TrackExtremes() const { return FTrackExtremes; }
    void SetTrackExtremes(bool on) { FTrackExtremes = on; }
    // Sets the extremes as the lowest and highest values seen; the sentinels of TMinMax
    // clear them. Their markers follow at once.
    void SetExtremes(float min, float max);

    // Colour of the Name1/Name2 captions (the widget's QFont carries family and size).
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor c);

    // --- state ---
    int PPT() const { return FPPT; }
    int MinPPT() const { return FMinPPT; }
    int MaxPPT() const { return FMaxPPT; }
    const std::string& ValueStr() const { return FValueStr; }
    bool UOverflow() const { return FUOverflow; }
    bool LOverflow() const { return FLOverflow; }
    bool ULimit() const { return FULimit; }
    bool LLimit() const { return FLLimit; }
    bool InSector(int n) const { return FInSector[(n - 1) % 3]; }
    double LogFactor1() const { return FLogFactor1; }
    double LogFactor2() const { return FLogFactor2; }
    // The automatic hint, lines joined by a carriage return; also the tooltip.
    const std::string& Hint() const { return FHint; }
    bool IsLoaded() const { return FLoaded; }

    static constexpr TColor cAlarm0 = clYellow;
    static constexpr TColor cAlarm1 = clRed;

    // --- events ---
    TAbNotifyEvent OnValueChange;
    TAbNotifyEvent OnSettingsChange;
    TAbNotifyEvent OnMinMaxChange;
    TAbNotifyEvent OnPosChanged;
    TAbOverflowEvent OnOverflow;
    TAbLimitEvent OnLimit;
    TAbSectorChangeEvent OnSectorChange;

    // Called once the stored settings have been applied: wires the settings objects to the
    // widget and clears the tracked extremes.
    virtual void Loaded();

    // --- dynamic operations ---
    void ParamChange(QObject* Sender) override;
    virtual void ValueChange();
    virtual void OverflowChange(int ppt);
    virtual void LimitChange();
    virtual void MinMaxChange(QObject* Sender);
    virtual void LogScaleChanged();

protected:
    void changeEvent(QEvent* event) override;
    // Digit of the current Value on the digital scale (linear or logarithmic).
    int DigitOfValue(float v) const;
    // Per-mille position of the current Digit; 0 when the digital scale is empty.
    int PositionOfDigit() const;
    // Per-mille position of a digit, unclamped.
    int PositionOf(int digit) const;

private:
    void CheckPosition();
    // Formatted value, position, sectors, limits and overflow of the current Digit and Value.
    void EvaluateStates();
    void CheckSectors();
    void CheckLimits();
    void CheckOverflow();
    void TrackMinMax();
    void BuildHint();
    std::string MinMaxHintLine(const char* label, float value, double when) const;
    void CalcLogFactors();

    float FValue = 50;
    int FDigit = 500;
    float FLimitUpper = 90;
    float FLimitLower = 10;
    THintOptions FHintOptions = THintOptions::All();
    bool FLogScale = false;
    TSectorSettings FSectorSettings;
    TSignalSettings FSignalSettings;
    TMinMax FMinMax;
    TColor FFontColor = clWindowText;

    int FPPT = 500;
    std::string FValueStr;
    bool FUOverflow = false;
    bool FLOverflow = false;
    bool FULimit = true;
    bool FLLimit = true;
    int FMinPPT = 0;
    int FMaxPPT = 0;
    bool FInSector[3] = {false, false, false};
    double FLogFactor1 = 0;
    double FLogFactor2 = 0;
    QPoint FLastPos;
    std::string FHint;
    bool FLoaded = false;
    bool FTrackExtremes = true;
};
