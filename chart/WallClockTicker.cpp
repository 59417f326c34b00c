#include "WallClockTicker.h"

#include <algorithm>
#include <ctime>

namespace {
long LocalUtcOffsetNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_gmtoff;
}
} // namespace

void TWallClockTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar,
                                int precision, QVector<double>& ticks, QVector<double>* subTicks,
                                QVector<QString>* tickLabels) {
    const TLabelTerms terms{dateTimeFormat(), locale, LocalUtcOffsetNow()};
    if (!(terms == FTerms)) {
        FTerms = terms;
        FKept.clear();
    }
    FMade.clear();
    QCPAxisTickerDateTime::generate(range, locale, formatChar, precision, ticks, subTicks,
                                    tickLabels);
    // Only the labels in view now are kept: the axis never shows more than a few.
    std::swap(FKept, FMade);
}

QString TWallClockTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                                       int precision) {
    const double wall = WallAt ? WallAt(tick) : tick;
    const auto kept = std::find_if(FKept.begin(), FKept.end(),
                                   [wall](const auto& label) { return label.first == wall; });
    QString text = kept != FKept.end()
                       ? kept->second
                       : QCPAxisTickerDateTime::getTickLabel(wall, locale, formatChar, precision);
    FMade.emplace_back(wall, text);
    return text;
}
