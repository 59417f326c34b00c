#pragma once
// The chart's plot: time of day across, lambda on the left axis, AFR for the chosen fuel on
// the right, a dashed line at lambda 1.00 and a shaded band where the sensor was warming up.
// Drawn in layers: the data (band, line, single readings as dots), then the markers as
// vertical lines.
#include <QVector>
#include <functional>
#include <qcustomplot.h>
#include <vector>

#include "PlotBand.h"
#include "SeriesDecimation.h"

class TLambdaPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit TLambdaPlot(QWidget* parent = nullptr);

    // Pixel columns of the plotting area: what the line is reduced to.
    int Columns() const;
    // Shows `line` over [from, to] with the lambda axis from `low` to `high`, then redraws
    // when the event loop next runs.
    void ShowLine(const TDecimatedLine& line, double from, double to, double low, double high);
    // The right axis: AFR for `stoichiometric`, labelled `label`.
    void SetFuel(double stoichiometric, const QString& label);
    // Bands behind the line (the rich, target and lean bands of the dial); none: no bands.
    void SetBands(const std::vector<TPlotBand>& bands);
    const std::vector<QCPItemRect*>& Bands() const { return FBands; }
    // Vertical lines at `times`.
    void ShowMarkers(const std::vector<double>& times);
    // The time axis labels what the wall clock showed at a place on it.
    void SetWallClock(std::function<double(double)> wallAt);

    QCPGraph* LambdaGraph() const { return FLambda; }
    QCPGraph* PointGraph() const { return FPoints; }
    QCPGraph* WarmupBand() const { return FWarmup; }
    int MarkersShown() const;
    QCPAxis* AfrAxis() const { return yAxis2; }

private:
    void SetUpAxes();
    void SetUpGraphs();
    void SetBand(const TDecimatedLine& line, double from, double to, double top);
    void UpdateAfrRange();

    QCPGraph* FLambda = nullptr;
    QCPGraph* FPoints = nullptr;
    QCPGraph* FWarmup = nullptr;
    std::vector<QCPItemStraightLine*> FMarkers;
    QSharedPointer<QCPAxisTickerDateTime> FTimeTicker;
    double FStoichiometric = 14.7;
    QVector<QCPGraphData> FLinePoints;
    QVector<QCPGraphData> FBandPoints;
    std::vector<QCPItemRect*> FBands;
    QVector<QCPGraphData> FDots;
};
