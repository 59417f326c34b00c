#include "AbMeterFactory.h"

namespace {

QFont PixelFont(const char* family, int pixels) {
    QFont f(family);
    f.setPixelSize(pixels);
    return f;
}

void ApplyValueModel(TAb270Meter& m) {
    m.SetDigit(357);
    m.SetLimitUpper(1.5f);
    m.SetLimitLower(0.5f);
    m.SetHintOptions({hoAutoHint, hoValue, hoName1, hoName2});

    ApplyMeter1Sectors(m.SectorSettings());

    TSignalSettings& sig = m.SignalSettings();
    sig.SetName1("LAMBDA");
    sig.SetName2("SignalName2");
    sig.SetValueFormat("#0.000");
    sig.SetValueFrom(0.65f);
    sig.SetValueTo(1.35f);
    sig.SetValueUnit("h");

    TMinMax& mm = m.MinMax();
    mm.SetUseSectorCol(false);
    mm.SetMinVisible(false);
    mm.SetMaxVisible(false);

    m.SetValue(0.9f);
}

void ApplyBevel(TAbSBevel& b, TBevelStyle style, TBevelLine line) {
    b.SetStyle(style);
    b.SetSpacing(5);
    b.SetWidth(2);
    b.SetBevelLine(line);
    b.SurfaceGrad().SetVisible(false);
}

void ApplyMeter(TAb270Meter& m) {
    m.SetAutoSize(false);
    m.setGeometry(121, 32, 337, 321);
    m.SetOptions({opBevelOuter, opName1});
    ApplyBevel(m.BevelOuter(), bsRaised, blOuter);
    ApplyBevel(m.BevelInner(), bsLowered, blInner);
    m.setFont(PixelFont("Arial", 11));
    m.SetFontColor(clWindowText);
    m.SetFontUnit(PixelFont("System", 13), clBlack);
    m.ArrowSettings().SetColorBrush(clGray);

    TScaleSettings& s = m.ScaleSettings();
    s.SetColor(clBlack);
    s.SetPointerColor(clBlue);
    s.SetDrawLine(true);
    s.SetFont(PixelFont("Arial", 19));
    s.SetFontColor(clWindowText);
    s.SetPosLeftTop(false);
    s.SetSteps(14);
    s.SetSubSteps(5);
    s.SetValueFormat("#0.00");
    s.SetValueFormatLog("0e-0");
}

} // namespace

void ApplyMeter1Sectors(TSectorSettings& sec) {
    sec.SetSector1Color(clSilver);
    sec.SetSector2Color(clSilver);
    sec.SetSector3Color(clSilver);
    sec.SetSector1From(0);
    sec.SetSector1To(1000);
    sec.SetSector2From(1000);
    sec.SetSector2To(1000);
    sec.SetSector3From(1000);
    sec.SetSector3To(1000);
    sec.SetOffset(0);
    sec.SetWidthOffset(0);
}

void ConfigureMeter1(TAb270Meter& meter) {
    ApplyValueModel(meter);
    ApplyMeter(meter);
    meter.Loaded();
}

TAb270Meter* CreateMeter1(QWidget* parent) {
    auto* meter = new TAb270Meter(parent);
    ConfigureMeter1(*meter);
    return meter;
}
