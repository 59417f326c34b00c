#include "LambdaPlot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const QColor LineColour(20, 60, 160);
const QColor WarmupColour(255, 170, 40, 70);
const QColor MarkerColour(200, 30, 30);
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Time labels of what the wall clock showed at each place on the axis.
class TWallClockTicker : public QCPAxisTickerDateTime {
public:
    std::function<double(double)> WallAt;

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override {
        return QCPAxisTickerDateTime::getTickLabel(WallAt ? WallAt(tick) : tick, locale, formatChar,
                                                   precision);
    }
};
} // namespace

TLambdaPlot::TLambdaPlot(QWidget* parent) : QCustomPlot(parent) {
    setObjectName("LambdaPlot");
    SetUpAxes();
    SetUpGraphs();
    setMinimumSize(320, 200);
}

void TLambdaPlot::SetUpAxes() {
    FTimeTicker.reset(new TWallClockTicker);
    FTimeTicker->setDateTimeFormat("hh:mm:ss");
    FTimeTicker->setTickCount(6);
    xAxis->setTicker(FTimeTicker);
    yAxis->setLabel("Lambda");
    yAxis->setNumberFormat("f");
    yAxis->setNumberPrecision(2);
    yAxis2->setVisible(true);
    yAxis2->setNumberFormat("f");
    yAxis2->setNumberPrecision(1);
    // The lambda axis sets the AFR axis: the same heights, times the fuel's ratio.
    connect(yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this] { UpdateAfrRange(); });

    auto* reference = new QCPItemStraightLine(this);
    reference->setObjectName("ReferenceLine");
    reference->point1->setCoords(0, 1.0);
    reference->point2->setCoords(1, 1.0);
    reference->setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
    reference->setSelectable(false);
}

void TLambdaPlot::SetUpGraphs() {
    // The band goes first, so the line is drawn over it.
    FWarmup = addGraph();
    FWarmup->setName("Sensor warming up");
    FWarmup->setPen(Qt::NoPen);
    FWarmup->setBrush(WarmupColour);
    FWarmup->setAdaptiveSampling(false);
    FLambda = addGraph();
    FLambda->setName("Lambda");
    // A one-pixel pen takes the painter's fast path: a wider one costs some 70 times more
    // with an hour in view, since the folds of the line must be stroked as outlines.
    FLambda->setPen(QPen(LineColour, 1));
    // The line comes reduced to the plot's columns already.
    FLambda->setAdaptiveSampling(false);
    // A reading with no neighbour to join is a dot.
    FPoints = addGraph();
    FPoints->setName("Single reading");
    FPoints->setPen(QPen(LineColour, 1));
    FPoints->setLineStyle(QCPGraph::lsNone);
    FPoints->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, LineColour, LineColour, 5));
    FPoints->setAdaptiveSampling(false);
    FPoints->removeFromLegend();
    // The key goes in a row of its own above the plotting area, where it hides no reading,
    // kept to the left by an empty element that takes the rest of the row.
    axisRect()->insetLayout()->take(legend);
    plotLayout()->insertRow(0);
    auto* keyRow = new QCPLayoutGrid;
    plotLayout()->addElement(0, 0, keyRow);
    plotLayout()->setRowStretchFactor(0, 0.001);
    keyRow->addElement(0, 0, legend);
    keyRow->addElement(0, 1, new QCPLayoutElement(this));
    keyRow->setColumnStretchFactor(0, 0.001);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setBorderPen(Qt::NoPen);
    legend->setFont(font());
    legend->setMargins(QMargins(4, 2, 4, 0));
    legend->setVisible(true);
    FWarmup->removeFromLegend();
    FWarmup->addToLegend(); // after the line's entry
}

int TLambdaPlot::Columns() const {
    return std::max(axisRect()->width(), 50);
}

void TLambdaPlot::ShowLine(const TDecimatedLine& line, double from, double to, double low,
                           double high) {
    FTimeTicker->setDateTimeFormat(to - from > 600 ? "hh:mm" : "hh:mm:ss");
    xAxis->setRange(from, to);
    yAxis->setRange(low, high);
    FLinePoints.resize(static_cast<qsizetype>(line.Time.size()));
    for (size_t i = 0; i < line.Time.size(); ++i) {
        FLinePoints[static_cast<qsizetype>(i)] = QCPGraphData(line.Time[i], line.Lambda[i]);
    }
    FLambda->data()->set(FLinePoints, true);
    FDots.resize(static_cast<qsizetype>(line.Points.size()));
    for (size_t i = 0; i < line.Points.size(); ++i) {
        FDots[static_cast<qsizetype>(i)] =
            QCPGraphData(line.Points[i].first, line.Points[i].second);
    }
    FPoints->data()->set(FDots, true);
    SetBand(line, from, to, high);
    replot(rpQueuedReplot);
}

void TLambdaPlot::SetBand(const TDecimatedLine& line, double from, double to, double top) {
    // Each warm-up stretch is at least one column wide, so a single reading shows too.
    const double column = (to - from) / Columns();
    FBandPoints.clear();
    for (const auto& [start, end] : line.Warmup) {
        if (!FBandPoints.isEmpty()) {
            FBandPoints.append(QCPGraphData((FBandPoints.last().key + start) / 2, NaN));
        }
        FBandPoints.append(QCPGraphData(start, top));
        FBandPoints.append(QCPGraphData(std::max(end, start + column), top));
    }
    FWarmup->data()->set(FBandPoints, true);
}

void TLambdaPlot::SetFuel(double stoichiometric, const QString& label) {
    FStoichiometric = stoichiometric;
    yAxis2->setLabel(label);
    UpdateAfrRange();
    replot(rpQueuedReplot);
}

void TLambdaPlot::UpdateAfrRange() {
    const QCPRange lambda = yAxis->range();
    yAxis2->setRange(lambda.lower * FStoichiometric, lambda.upper * FStoichiometric);
}

void TLambdaPlot::SetBands(const std::vector<TPlotBand>& bands) {
    for (QCPItemRect* band : FBands) {
        removeItem(band);
    }
    FBands.clear();
    for (const TPlotBand& b : bands) {
        auto* rect = new QCPItemRect(this);
        rect->setLayer("background");
        rect->setSelectable(false);
        // Across the whole plotting area, from Low to High in lambda.
        rect->topLeft->setTypeX(QCPItemPosition::ptAxisRectRatio);
        rect->bottomRight->setTypeX(QCPItemPosition::ptAxisRectRatio);
        rect->topLeft->setCoords(0, b.High);
        rect->bottomRight->setCoords(1, b.Low);
        rect->setPen(Qt::NoPen);
        rect->setBrush(b.Colour);
        FBands.push_back(rect);
    }
    replot(rpQueuedReplot);
}

void TLambdaPlot::ShowMarkers(const std::vector<double>& times) {
    while (FMarkers.size() < times.size()) {
        auto* line = new QCPItemStraightLine(this);
        line->setPen(QPen(MarkerColour, 1, Qt::DashDotLine));
        line->setSelectable(false);
        FMarkers.push_back(line);
    }
    for (size_t i = 0; i < FMarkers.size(); ++i) {
        const bool shown = i < times.size();
        FMarkers[i]->setVisible(shown);
        if (shown) {
            FMarkers[i]->point1->setCoords(times[i], 0);
            FMarkers[i]->point2->setCoords(times[i], 1);
        }
    }
    replot(rpQueuedReplot);
}

int TLambdaPlot::MarkersShown() const {
    int shown = 0;
    for (const QCPItemStraightLine* line : FMarkers) {
        shown += line->visible() ? 1 : 0;
    }
    return shown;
}

void TLambdaPlot::SetWallClock(std::function<double(double)> wallAt) {
    static_cast<TWallClockTicker*>(FTimeTicker.data())->WallAt = std::move(wallAt);
}
