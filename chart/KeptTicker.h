#pragma once
// A number axis' ticker that keeps what it worked out last: while the chart follows the
// readings the lambda and AFR axes stay where they are, yet each redraw lays them out anew,
// and making their labels is most of that.
#include <QLocale>
#include <QString>
#include <QVector>
#include <qcustomplot.h>

class TKeptTicker : public QCPAxisTicker {
public:
    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks,
                  QVector<QString>* tickLabels) override;

private:
    // Everything the ticks and labels depend on.
    struct TAsked {
        double Lower = 0, Upper = 0;
        QLocale Locale;
        QChar FormatChar;
        int Precision = 0;
        int TickCount = 0;
        double TickOrigin = 0;
        TickStepStrategy Strategy = tssReadability;
        bool SubTicks = false, Labels = false;
        bool operator==(const TAsked&) const = default;
    };
    bool FHaveKept = false;
    TAsked FAsked;
    QVector<double> FTicks, FSubTicks;
    QVector<QString> FLabels;
};
