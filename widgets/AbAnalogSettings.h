#pragma once
// Settings objects of the analog value widgets: the three coloured sectors of the range,
// the signal range with its digital scale, and the tracked minimum and maximum.
#include <ctime>
#include <string>

#include "AbBase.h"

// Date-time as days since 1899-12-30 (local time), fractions of a day for the time.
double AbNow();
std::tm AbDateTimeToTm(double dateTime);

// Snaps a value to the nearest power of ten; a value <= 0 is taken as 1.
float AbRoundLogValue(float value);

// Three coloured bands of the range in per-mille (0 = ValueFrom, 1000 = ValueTo), inclusive.
class TSectorSettings : public TAbPersistent {
public:
    TColor Sector1Color() const { return FSector1Color; }
    TColor Sector2Color() const { return FSector2Color; }
    TColor Sector3Color() const { return FSector3Color; }
    int Sector1From() const { return FSector1From; }
    int Sector1To() const { return FSector1To; }
    int Sector2From() const { return FSector2From; }
    int Sector2To() const { return FSector2To; }
    int Sector3From() const { return FSector3From; }
    int Sector3To() const { return FSector3To; }
    int Offset() const { return FOffset; }
    int WidthOffset() const { return FWidthOffset; }
    bool LogScale() const { return FLogScale; }

    void SetSector1Color(TColor v) { SetField(FSector1Color, v); }
    void SetSector2Color(TColor v) { SetField(FSector2Color, v); }
    void SetSector3Color(TColor v) { SetField(FSector3Color, v); }
    void SetSector1From(int v) { SetField(FSector1From, v); }
    void SetSector1To(int v) { SetField(FSector1To, v); }
    void SetSector2From(int v) { SetField(FSector2From, v); }
    void SetSector2To(int v) { SetField(FSector2To, v); }
    void SetSector3From(int v) { SetField(FSector3From, v); }
    void SetSector3To(int v) { SetField(FSector3To, v); }
    void SetOffset(int v) { SetField(FOffset, v); }
    void SetWidthOffset(int v) { SetField(FWidthOffset, v); }
    void SetLogScale(bool v) { FLogScale = v; }

    // Sector n (1..3) bounds and colour.
    int SectorFrom(int n) const;
    int SectorTo(int n) const;
    TColor SectorColor(int n) const;
    bool InSector(int n, int ppt) const { return SectorFrom(n) <= ppt && ppt <= SectorTo(n); }

    // Colour of the first sector holding `ppt`; false (Col untouched) when none does.
    bool CheckSectorColor(int ppt, TColor& Col) const;

private:
    TColor FSector1Color = clYellow;
    TColor FSector2Color = clGreen;
    TColor FSector3Color = clRed;
    int FSector1From = 0;
    int FSector1To = 333;
    int FSector2From = 334;
    int FSector2To = 666;
    int FSector3From = 667;
    int FSector3To = 1000;
    int FOffset = 0;
    int FWidthOffset = 0;
    bool FLogScale = false;
};

// Range and presentation of the signal, and the digital scale it maps onto.
class TSignalSettings : public TAbPersistent {
public:
    TSignalSettings();

    int DigitalFrom() const { return FDigitalFrom; }
    int DigitalTo() const { return FDigitalTo; }
    const std::string& Name1() const { return FName1; }
    const std::string& Name2() const { return FName2; }
    const std::string& ValueFormat() const { return FValueFormat; }
    float ValueFrom() const { return FValueFrom; }
    float ValueTo() const { return FValueTo; }
    const std::string& ValueUnit() const { return FValueUnit; }

    void SetDigitalFrom(int v) { SetField(FDigitalFrom, v); }
    void SetDigitalTo(int v) { SetField(FDigitalTo, v); }
    void SetName1(const std::string& v) { SetField(FName1, v); }
    void SetName2(const std::string& v) { SetField(FName2, v); }
    void SetValueFormat(const std::string& v) { SetField(FValueFormat, v); }
    void SetValueUnit(const std::string& v) { SetField(FValueUnit, v); }
    // Ignored when v equals either end of the range; an exact 0 is stored as 0.000001.
    // In logarithmic mode the value is snapped to a power of ten.
    void SetValueFrom(float v);
    void SetValueTo(float v);

    // Derived by the range rule.
    float TotalValue() const { return FTotalValue; }
    int TotalDigit() const { return FTotalDigit; }
    float ValuePerDigit() const { return FValuePerDigit; }
    float DigitPerValue() const { return FDigitPerValue; }
    bool LogScale() const { return FLogScale; }
    void SetLogScale(bool v) { FLogScale = v; }

    // Recomputes the derived fields without notifying anyone.
    void CalcRange();
    // Snaps both ends to powers of ten (non-positive ends become 0.001) and recomputes.
    void SnapRangeToDecades();

    // Recomputes the derived fields, then notifies the owner.
    void Change() override;

private:
    int FDigitalFrom = 0;
    int FDigitalTo = 1000;
    std::string FName1 = "SignalName1";
    std::string FName2 = "SignalName2";
    std::string FValueFormat = "##0.0";
    float FValueFrom = 0;
    float FValueTo = 100;
    std::string FValueUnit = "%";
    float FTotalValue = 100;
    int FTotalDigit = 1000;
    float FValuePerDigit = 0;
    float FDigitPerValue = 0;
    bool FLogScale = false;
};

// Extremes seen by the value updates, and how the meter marks them.
class TMinMax : public TAbPersistent {
public:
    static constexpr float MinSentinel = 9999999.0f;
    static constexpr float MaxSentinel = -9999999.0f;

    TMinMax();

    float Max() const { return FMax; }
    float Min() const { return FMin; }
    double MaxDateTime() const { return FMaxDateTime; }
    double MinDateTime() const { return FMinDateTime; }
    TColor MaxColor() const { return FMaxColor; }
    TColor MinColor() const { return FMinColor; }
    bool UseSectorCol() const { return FUseSectorCol; }
    bool MinVisible() const { return FMinVisible; }
    bool MaxVisible() const { return FMaxVisible; }

    void SetMaxColor(TColor v) { SetField(FMaxColor, v); }
    void SetMinColor(TColor v) { SetField(FMinColor, v); }
    void SetUseSectorCol(bool v) { SetField(FUseSectorCol, v); }
    void SetMinVisible(bool v) { SetField(FMinVisible, v); }
    void SetMaxVisible(bool v) { SetField(FMaxVisible, v); }

    // Maintained by the value update; these do not notify.
    void RecordMin(float value, double when);
    void RecordMax(float value, double when);
    void Reset();

private:
    float FMax = MaxSentinel;
    double FMaxDateTime = 0;
    float FMin = MinSentinel;
    double FMinDateTime = 0;
    TColor FMaxColor = clAqua;
    TColor FMinColor = clAqua;
    bool FUseSectorCol = true;
    bool FMinVisible = true;
    bool FMaxVisible = true;
};
