#pragma once
// The chart's plot: time of day across, lambda on the left axis, AFR for the chosen fuel on
// the right, a dashed line at lambda 1.00 and a shaded band where the sensor was warming up.
// Drawn in layers: the background and the grid with the reference line, then the data (band,
// line, single readings as dots, markers as vertical lines), then the axes and the key. While
// the view is held the data has a buffer of its own, so a change to the data alone redraws
// only that; while it follows the readings the time axis moves with every redraw: what stays
// put is kept as pictures and the window draws the rest over them as it paints, with no
// buffer in between. A dark palette gives the plot its night colours.
#include <QVector>
#include <array>
#include <functional>
#include <qcustomplot.h>
#include <vector>

#include "BeneathBuffer.h"
#include "PlotBand.h"
#include "PlotFrame.h"
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
    // The view follows the newest reading (its time axis moves with each redraw), or is held.
    void SetFollowing(bool following);
    // The night colours are in use (the palette is dark).
    bool NightLook() const { return FNight; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetUpAxes();
    void SetUpGraphs();
    void SetBand(const TDecimatedLine& line, double from, double to, double top);
    void UpdateAfrRange();
    void ApplyLook();
    // Draws what changed once the event loop runs again: the data alone while the axes, the
    // size and the fuel are as last drawn in full, else everything.
    void RedrawChanged();
    void DrawChanged();
    TPlotFrame CurrentFrame() const;
    // While following, what stays put as the time axis moves (the bands and the lambda grid
    // beneath the data, the lambda and AFR axes and the key above it) is drawn once into
    // pictures and left out of each redraw.
    TPlotFrame FixedFrame() const;
    void DrawFixedParts();
    // Only the layers `names` (and the lambda grid) drawn on a clear picture of the plot's size.
    QImage DrawnLayers(const QStringList& names, bool lambdaGrid);
    void DrawLambdaGrid(QCPPainter* painter) const;
    // Where the picture drawn above the data is laid over what moves, each redraw.
    std::array<QRect, 4> AboveStrips() const;
    // Where it is laid once, into the picture beneath: nothing that moves is drawn there.
    std::array<QRect, 3> StillStrips() const;
    // What a redraw with the fixed pictures kept repaints: all but the key's row.
    QRect MovingRect() const;
    // While following with the fixed parts drawn, a redraw needs no replot into buffers: the
    // window paints the picture beneath and draws the moving layers over it itself.
    bool CanPaintDirect() const;
    void DrawMovingParts(QCPPainter* painter);
    void HideFixedParts();
    void HideFixedLayers();
    void ShowFixedParts();
    // Only the layers named are drawn; none named: all of them.
    void ShowOnly(const QStringList& names);

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
    QCPItemStraightLine* FReference = nullptr;
    bool FNight = false;
    bool FFollowing = true;
    bool FDrawQueued = false;
    // Counts changes that alter the look without moving the axes (fuel, bands, colours).
    int FRevision = 0;
    TPlotFrame FDrawn;
    QColor FBackground;
    bool FFixedInUse = false;
    TPlotFrame FFixedFor;
    TPlotFrame FFixedSeen;
    QPixmap FBeneath;
    std::array<QPixmap, 4> FAbove;          // the strips of AboveStrips()
    bool FPaintDirect = false;              // the next paint draws the moving layers itself
    TBeneathBuffer* FFirstBuffer = nullptr; // the lowest layers' buffer, owned by the plot
};
