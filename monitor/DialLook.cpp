#include "DialLook.h"

#include "DialBands.h"
#include "widgets/AbMeterFactory.h"
#include "widgets/AbRMeter.h"

namespace {

void ApplyRange(TSignalSettings& s, float from, float to) {
    // Each end is taken only when it differs from both current ends.
    if (from == s.ValueTo()) {
        s.SetValueTo(to);
        s.SetValueFrom(from);
    } else {
        s.SetValueFrom(from);
        s.SetValueTo(to);
    }
}

void ApplyScale(TAb270Meter& m, const TDialScale& scale, bool night) {
    ApplyRange(m.SignalSettings(), scale.From, scale.To);
    m.SignalSettings().SetName1(scale.Name);
    TScaleSettings& s = m.ScaleSettings();
    if (s.Steps() != scale.Steps)
        s.SetSteps(scale.Steps);
    if (s.SubSteps() != scale.SubSteps)
        s.SetSubSteps(scale.SubSteps);
    s.SetValueFormat(scale.LabelFormat);
    s.SetColor(night ? clWindowText : clBlack);
}

void ApplyBands(TAb270Meter& m, const TDialLook& look) {
    TSectorSettings& sec = m.SectorSettings();
    if (!look.Bands) {
        ApplyMeter1Sectors(sec);
        return;
    }
    const auto ranges = BandSectors(look.Limits, look.Scale);
    sec.SetSector1Color(RichBandColor);
    sec.SetSector2Color(TargetBandColor);
    sec.SetSector3Color(LeanBandColor);
    sec.SetSector1From(ranges[0].From);
    sec.SetSector1To(ranges[0].To);
    sec.SetSector2From(ranges[1].From);
    sec.SetSector2To(ranges[1].To);
    sec.SetSector3From(ranges[2].From);
    sec.SetSector3To(ranges[2].To);
}

} // namespace

TDialLook DialLookFor(const TDisplaySettings& s, double stoichiometric) {
    TDialLook look;
    look.Scale = s.Units == TDisplayUnits::Afr ? AfrDialScale(stoichiometric) : LambdaDialScale();
    look.Bands = s.Bands;
    look.Limits = s.Limits;
    look.Peaks = s.PeakHold;
    look.Night = s.NightTheme;
    return look;
}

void ApplyDialLook(TAb270Meter& m, const TDialLook& look) {
    m.BeginUpdate();
    ApplyScale(m, look.Scale, look.Night);
    ApplyBands(m, look);
    TMinMax& mm = m.MinMax();
    mm.SetUseSectorCol(look.Bands);
    mm.SetMinVisible(look.Peaks);
    mm.SetMaxVisible(look.Peaks);
    m.SetTrackExtremes(!look.Peaks);
    const uint8_t sector = TRMeterOptions{opSector}.Bits();
    const uint8_t bits = look.Bands ? m.Options().Bits() | sector : m.Options().Bits() & ~sector;
    if (bits != m.Options().Bits())
        m.SetOptions(TRMeterOptions::FromBits(static_cast<uint8_t>(bits)));
    m.EndUpdate();
}
