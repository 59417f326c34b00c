#include "ChartSettings.h"

#include <QSettings>
#include <algorithm>

#include "Fuels.h"

namespace {
const char* const Group = "LambdaChart";
const char* const TypedFuelName = "typed";
const char* const Organization = "uego4100";
const char* const Application = "uego4100";
} // namespace

bool TChartSettings::TypedFuel() const {
    return Fuel >= StandardFuels().size();
}

double TChartSettings::Stoichiometric() const {
    return TypedFuel() ? TypedRatio : StandardFuels()[Fuel].Stoichiometric;
}

TChartSettings LoadChartSettings() {
    TChartSettings out;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organization, Application);
    settings.beginGroup(Group);
    const QString fuel = settings.value("Fuel").toString();
    const auto fuels = StandardFuels();
    const auto found = std::find_if(fuels.begin(), fuels.end(),
                                    [&fuel](const TFuel& f) { return fuel == f.Name; });
    out.Fuel = fuel == TypedFuelName  ? fuels.size()
               : found != fuels.end() ? found - fuels.begin()
                                      : 0;
    const auto typed =
        ParseStoichiometricRatio(settings.value("TypedRatio").toString().toStdString());
    out.TypedRatio = typed.value_or(out.TypedRatio);
    const int span = settings.value("SpanSeconds").toInt();
    if (std::find(ChartSpans.begin(), ChartSpans.end(), span) != ChartSpans.end()) {
        out.SpanSeconds = span;
    }
    out.FitAxis = settings.value("Axis").toString() == "fit";
    return out;
}

void SaveChartSettings(const TChartSettings& s) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organization, Application);
    settings.beginGroup(Group);
    settings.setValue("Fuel", s.TypedFuel() ? TypedFuelName : StandardFuels()[s.Fuel].Name);
    settings.setValue("TypedRatio", s.TypedRatio);
    settings.setValue("SpanSeconds", s.SpanSeconds);
    settings.setValue("Axis", s.FitAxis ? "fit" : "fixed");
}
