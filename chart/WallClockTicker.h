#pragma once
// The time axis' ticker: labels say what the wall clock showed at each place on the axis.
// While the chart follows the readings the axis moves with every redraw but its ticks stay on
// the same whole seconds or minutes, so the labels of the last redraw are kept and reused;
// making a time label is the dearest part of laying out the axis.
#include <QLocale>
#include <QString>
#include <QVector>
#include <functional>
#include <qcustomplot.h>
#include <utility>

class TWallClockTicker : public QCPAxisTickerDateTime {
public:
    // Maps a place on the axis to the wall clock's time then; none: the place is that time.
    std::function<double(double)> WallAt;

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks,
                  QVector<QString>* tickLabels) override;

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    // What a label also depends on: when any of it changes, no kept label is used.
    struct TLabelTerms {
        QString Format;
        QLocale Locale;
        long UtcOffset = 0; // of the local time now: a changed time zone
        bool operator==(const TLabelTerms&) const = default;
    };
    TLabelTerms FTerms;
    std::vector<std::pair<double, QString>> FKept; // by wall clock time, from the last layout
    std::vector<std::pair<double, QString>> FMade; // this layout's
};
