#include "KeptTicker.h"

void TKeptTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar,
                           int precision, QVector<double>& ticks, QVector<double>* subTicks,
                           QVector<QString>* tickLabels) {
    const TAsked asked{range.lower,         range.upper,          locale,       formatChar,
                       precision,           tickCount(),          tickOrigin(), tickStepStrategy(),
                       subTicks != nullptr, tickLabels != nullptr};
    if (!FHaveKept || !(asked == FAsked)) {
        QCPAxisTicker::generate(range, locale, formatChar, precision, FTicks,
                                subTicks ? &FSubTicks : nullptr, tickLabels ? &FLabels : nullptr);
        FAsked = asked;
        FHaveKept = true;
    }
    ticks = FTicks;
    if (subTicks) {
        *subTicks = FSubTicks;
    }
    if (tickLabels) {
        *tickLabels = FLabels;
    }
}
