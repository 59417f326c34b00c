#include "LambdaPlot.h"

#include "CachedStraightLine.h"
#include "KeptTicker.h"
#include "WallClockTicker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {
const QColor WarmupColour(255, 170, 40, 70);
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The plot's colours by day (on white) and by night (on the night theme's dark grey).
struct TPlotLook {
    QColor Background;
    QColor Axis; // axis lines, ticks, numbers and titles, the key's text
    QColor Grid;
    QColor Line; // the lambda line and its dots
    QColor Reference;
    QColor Marker;
};
const TPlotLook DayColours{Qt::white,           Qt::black,          QColor(200, 200, 200),
                           QColor(20, 60, 160), QColor(90, 90, 90), QColor(200, 30, 30)};
const TPlotLook NightColours{QColor(20, 21, 23),    QColor(214, 214, 214), QColor(78, 80, 86),
                             QColor(110, 175, 255), QColor(150, 150, 150), QColor(255, 96, 96)};

bool Dark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

QPen Recoloured(QPen pen, const QColor& colour) {
    pen.setColor(colour);
    return pen;
}

// A key entry that measures and draws its text once: laying out the text is what a key
// costs, and it stays the same from one redraw to the next. Drawn over the key's own opaque
// background, the image is what drawing in place gives.
class TKeyItem : public QCPPlottableLegendItem {
public:
    using QCPPlottableLegendItem::QCPPlottableLegendItem;

protected:
    QSize minimumOuterSizeHint() const override {
        if (mPlottable->name() != FSizeName || mFont != FSizeFont) {
            FSizeName = mPlottable->name();
            FSizeFont = mFont;
            FSize = QCPPlottableLegendItem::minimumOuterSizeHint();
        }
        return FSize;
    }
    void draw(QCPPainter* painter) override {
        const QBrush& under = mParentLegend->brush();
        if (painter->modes().testFlag(QCPPainter::pmNoCaching) ||
            painter->transform().type() > QTransform::TxTranslate ||
            under.style() != Qt::SolidPattern || under.color().alpha() != 255 || rect().isEmpty()) {
            QCPPlottableLegendItem::draw(painter);
            return;
        }
        const TLook look{mPlottable->name(),
                         mFont,
                         mTextColor,
                         under.color(),
                         mPlottable->pen().color(),
                         mPlottable->brush().color(),
                         rect().size()};
        if (!(look == FLook)) {
            FLook = look;
            FImage = QImage(rect().size(), QImage::Format_ARGB32_Premultiplied);
            FImage.fill(under.color());
            QCPPainter own(&FImage);
            own.setRenderHints(painter->renderHints());
            own.translate(-rect().topLeft());
            applyDefaultAntialiasingHint(&own);
            QCPPlottableLegendItem::draw(&own);
        }
        painter->drawImage(rect().topLeft(), FImage);
    }

private:
    struct TLook {
        QString Name;
        QFont Font;
        QColor Text, Under, Pen, Brush;
        QSize Size;
        bool operator==(const TLook&) const = default;
    };
    mutable QString FSizeName;
    mutable QFont FSizeFont;
    mutable QSize FSize;
    TLook FLook;
    QImage FImage;
};
} // namespace

TLambdaPlot::TLambdaPlot(QWidget* parent) : QCustomPlot(parent) {
    setObjectName("LambdaPlot");
    SetUpAxes();
    SetUpGraphs();
    setMinimumSize(320, 200);
    // The plot paints every pixel of itself: nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The reference line lies beneath the data, with the grid; the data has the middle layer
    // to itself; the topmost layer (for selecting, unused here) shares the key's buffer.
    layer("overlay")->setMode(QCPLayer::lmLogical);
    // The dial's bands and the lambda and AFR axes on layers of their own, drawn where they
    // were: the bands over the plotting area's background, the axes after the time axis.
    addLayer("bands", layer("background"), limAbove);
    addLayer("lambdaaxes", layer("axes"), limAbove);
    for (QCPAxis* axis : {yAxis, yAxis2}) {
        axis->setLayer("lambdaaxes");
    }
    // The lowest layers' buffer can start a redraw from the picture of what stays put.
    auto first = QSharedPointer<TBeneathBuffer>::create(viewport().size(), devicePixelRatioF());
    FFirstBuffer = first.data();
    if (mPaintBuffers.isEmpty()) {
        mPaintBuffers.append(first);
    } else {
        mPaintBuffers[0] = first;
    }
    SetFollowing(true);
    connect(this, &QCustomPlot::beforeReplot, this, [this] {
        FPaintDirect = false; // the window shows the buffers this replot draws
        HideFixedParts();
    });
    connect(this, &QCustomPlot::afterReplot, this, [this] {
        ShowFixedParts();
        FDrawn = CurrentFrame();
    });
    FNight = Dark(palette());
    ApplyLook();
}

void TLambdaPlot::SetFollowing(bool following) {
    FFollowing = following;
    const QCPLayer::LayerMode mode = following ? QCPLayer::lmLogical : QCPLayer::lmBuffered;
    if (layer("main")->mode() != mode) {
        layer("main")->setMode(mode);
        FDrawn = {};
    }
}

// ---- what stays put while following --------------------------------------------------------

namespace {
// The plotting area (drawing nothing itself, but what holds the axes) and the bands; the
// lambda axes and the key. Hiding the lambda axes hides their grid lines as well.
const QStringList BeneathLayers{"background", "bands"};
const QStringList AboveLayers{"background", "lambdaaxes", "legend"};
const QStringList FixedLayers{"bands", "lambdaaxes", "legend"};
} // namespace

TPlotFrame TLambdaPlot::FixedFrame() const {
    TPlotFrame frame = CurrentFrame();
    frame.From = frame.To = 0;
    return frame;
}

void TLambdaPlot::ShowOnly(const QStringList& names) {
    for (int i = 0; i < layerCount(); ++i) {
        layer(i)->setVisible(names.isEmpty() || names.contains(layer(i)->name()));
    }
}

void TLambdaPlot::DrawFixedParts() {
    setBackground(QBrush(Qt::NoBrush));
    // Beneath: drawn as the paint buffer would be, then laid on the background colour once.
    const QImage beneath = DrawnLayers(BeneathLayers, true);
    FBeneath = QPixmap(size());
    FBeneath.fill(FBackground);
    const QImage above = DrawnLayers(AboveLayers, false);
    {
        QPainter painter(&FBeneath);
        painter.drawImage(0, 0, beneath);
        // Where nothing that moves is drawn, what lies above joins the picture beneath.
        for (const QRect& still : StillStrips()) {
            painter.drawImage(still.topLeft(), above, still);
        }
    }
    // Elsewhere only the strips where the axes and the moving parts meet are kept.
    const std::array<QRect, 4> strips = AboveStrips();
    for (size_t i = 0; i < strips.size(); ++i) {
        FAbove[i] = QPixmap::fromImage(above.copy(strips[i]));
    }
    ShowOnly({});
    setBackground(FBackground);
    FFixedFor = FixedFrame();
}

QImage TLambdaPlot::DrawnLayers(const QStringList& names, bool lambdaGrid) {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    ShowOnly(names);
    QCPPainter painter(&image);
    draw(&painter);
    if (lambdaGrid) {
        DrawLambdaGrid(&painter);
    }
    painter.end();
    return image;
}

void TLambdaPlot::DrawLambdaGrid(QCPPainter* painter) const {
    // The lambda grid's lines as the grid draws them, at the lambda axis' ticks.
    const QCPGrid* grid = yAxis->grid();
    if (!grid->visible()) {
        return;
    }
    const QRect area = axisRect()->rect();
    painter->save();
    painter->setClipRect(area.translated(0, -1));
    painter->setAntialiasing(grid->antialiased());
    painter->setPen(grid->pen());
    for (double tick : yAxis->tickVector()) {
        const double y = yAxis->coordToPixel(tick);
        painter->drawLine(QLineF(area.left(), y, area.right(), y));
    }
    painter->restore();
}

void TLambdaPlot::HideFixedParts() {
    FFixedInUse = FFollowing && devicePixelRatioF() == 1.0;
    const TPlotFrame fixed = FixedFrame();
    if (FFixedInUse && !(fixed == FFixedFor)) {
        // Drawn into pictures only once they stay the same for a second redraw: a lambda
        // axis fitted to the data may change with every one.
        FFixedInUse = fixed == FFixedSeen;
        FFixedSeen = fixed;
        if (FFixedInUse) {
            DrawFixedParts();
        }
    }
    FFirstBuffer->StartFrom(FFixedInUse ? &FBeneath : nullptr);
    if (FFixedInUse) {
        HideFixedLayers();
    }
}

void TLambdaPlot::HideFixedLayers() {
    for (const QString& name : FixedLayers) {
        layer(name)->setVisible(false);
    }
}

void TLambdaPlot::ShowFixedParts() {
    ShowOnly({});
}

bool TLambdaPlot::CanPaintDirect() const {
    return FFollowing && FFixedInUse && devicePixelRatioF() == 1.0 && FixedFrame() == FFixedFor;
}

void TLambdaPlot::paintEvent(QPaintEvent* event) {
    if (!FFixedInUse || devicePixelRatioF() != 1.0) {
        QCustomPlot::paintEvent(event);
        return;
    }
    // What stays put beneath, what moves (drawn now, or by the last replot into its buffers),
    // and the axes' strips over it (that picture is clear everywhere else).
    QCPPainter painter(this);
    if (FPaintDirect) {
        painter.drawPixmap(0, 0, FBeneath);
        DrawMovingParts(&painter);
    } else {
        if (!FFirstBuffer->HoldsBeneath()) {
            painter.drawPixmap(0, 0, FBeneath);
        }
        for (const QSharedPointer<QCPAbstractPaintBuffer>& buffer : mPaintBuffers) {
            buffer->draw(&painter);
        }
    }
    const std::array<QRect, 4> strips = AboveStrips();
    for (size_t i = 0; i < strips.size(); ++i) {
        painter.drawPixmap(strips[i].topLeft(), FAbove[i]);
    }
}

void TLambdaPlot::DrawMovingParts(QCPPainter* painter) {
    // The layers a replot draws, straight onto the window instead of into a buffer that is
    // then copied there (drawing layers fills no background).
    HideFixedLayers();
    draw(painter);
    ShowFixedParts();
}

QRect TLambdaPlot::MovingRect() const {
    // From the plotting area's top down, across the plot: one rectangle, since lines drawn
    // within a clip of several cost the painter three times as much.
    const int top = axisRect()->rect().top();
    return QRect(0, top, width(), height() - top);
}

std::array<QRect, 3> TLambdaPlot::StillStrips() const {
    // The key's row across the top, and beside the plotting area the lambda and AFR axes
    // down to where the time axis' labels begin.
    const QRect area = axisRect()->rect();
    const int levelHeight = area.bottom() - area.top();
    return {QRect(0, 0, width(), area.top()), QRect(0, area.top(), area.left(), levelHeight),
            QRect(area.right() + 1, area.top(), width() - area.right() - 1, levelHeight)};
}

std::array<QRect, 4> TLambdaPlot::AboveStrips() const {
    // The lambda and AFR axes' ticks inside the plotting area, and the corners beside the
    // time axis, where the lowest axis labels may reach down among the time labels.
    const QRect area = axisRect()->rect();
    constexpr int Inside = 8; // the longest tick reaches 5 pixels in
    const int levelHeight = area.bottom() - area.top();
    const int rightInside = area.right() + 1 - Inside;
    const int belowHeight = height() - area.bottom();
    return {QRect(area.left(), area.top(), Inside, levelHeight),
            QRect(rightInside, area.top(), Inside, levelHeight),
            QRect(0, area.bottom(), area.left() + Inside, belowHeight),
            QRect(rightInside, area.bottom(), width() - rightInside, belowHeight)};
}

void TLambdaPlot::changeEvent(QEvent* event) {
    QCustomPlot::changeEvent(event);
    if (event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ApplicationPaletteChange) {
        const bool night = Dark(palette());
        if (night != FNight) {
            FNight = night;
            ApplyLook();
            RedrawChanged();
        }
    }
}

void TLambdaPlot::ApplyLook() {
    const TPlotLook& look = FNight ? NightColours : DayColours;
    FBackground = look.Background;
    setBackground(FBackground);
    for (QCPAxis* axis : axisRect()->axes()) {
        axis->setBasePen(Recoloured(axis->basePen(), look.Axis));
        axis->setTickPen(Recoloured(axis->tickPen(), look.Axis));
        axis->setSubTickPen(Recoloured(axis->subTickPen(), look.Axis));
        axis->setTickLabelColor(look.Axis);
        axis->setLabelColor(look.Axis);
        axis->grid()->setPen(Recoloured(axis->grid()->pen(), look.Grid));
    }
    legend->setBrush(look.Background);
    legend->setTextColor(look.Axis);
    for (int i = 0; i < legend->itemCount(); ++i) {
        legend->item(i)->setTextColor(look.Axis);
    }
    FLambda->setPen(QPen(look.Line, 1));
    FPoints->setPen(QPen(look.Line, 1));
    FPoints->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, look.Line, look.Line, 5));
    FReference->setPen(QPen(look.Reference, 1, Qt::DashLine));
    for (QCPItemStraightLine* marker : FMarkers) {
        marker->setPen(QPen(look.Marker, 1, Qt::DashDotLine));
    }
    ++FRevision;
}

void TLambdaPlot::SetUpAxes() {
    FTimeTicker.reset(new TWallClockTicker);
    FTimeTicker->setDateTimeFormat("hh:mm:ss");
    FTimeTicker->setTickCount(6);
    xAxis->setTicker(FTimeTicker);
    // The lambda and AFR axes move only when the view's lambda range does.
    yAxis->setTicker(QSharedPointer<TKeptTicker>::create());
    yAxis2->setTicker(QSharedPointer<TKeptTicker>::create());
    // The time axis along the top is never shown: it needs no ticks worked out.
    xAxis2->setTicks(false);
    xAxis2->setTickLabels(false);
    yAxis->setLabel("Lambda");
    yAxis->setNumberFormat("f");
    yAxis->setNumberPrecision(2);
    yAxis2->setVisible(true);
    yAxis2->setNumberFormat("f");
    yAxis2->setNumberPrecision(1);
    // The lambda axis sets the AFR axis: the same heights, times the fuel's ratio.
    connect(yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this] { UpdateAfrRange(); });

    // Drawn with every redraw over the moving time grid, but always in the same place.
    FReference = new TCachedStraightLine(this);
    FReference->setObjectName("ReferenceLine");
    FReference->setLayer("grid");
    FReference->point1->setCoords(0, 1.0);
    FReference->point2->setCoords(1, 1.0);
    FReference->setSelectable(false);
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
    // The line comes reduced to the plot's columns already.
    FLambda->setAdaptiveSampling(false);
    // A reading with no neighbour to join is a dot.
    FPoints = addGraph();
    FPoints->setName("Single reading");
    FPoints->setLineStyle(QCPGraph::lsNone);
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
    // The layouts draw nothing but hold the axes and the key: they stay on the lowest layer,
    // which is always drawn.
    for (QCPLayerable* holder :
         {static_cast<QCPLayerable*>(plotLayout()), static_cast<QCPLayerable*>(keyRow),
          static_cast<QCPLayerable*>(keyRow->element(0, 1))}) {
        holder->setLayer("background");
    }
    keyRow->setColumnStretchFactor(0, 0.001);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setBorderPen(Qt::NoPen);
    legend->setFont(font());
    legend->setMargins(QMargins(4, 2, 4, 0));
    legend->setVisible(true);
    legend->clearItems();
    legend->addItem(new TKeyItem(legend, FLambda));
    legend->addItem(new TKeyItem(legend, FWarmup)); // after the line's entry
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
    RedrawChanged();
}

TPlotFrame TLambdaPlot::CurrentFrame() const {
    return {xAxis->range().lower,
            xAxis->range().upper,
            yAxis->range().lower,
            yAxis->range().upper,
            width(),
            height(),
            FRevision};
}

void TLambdaPlot::RedrawChanged() {
    if (!FDrawQueued) {
        FDrawQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { DrawChanged(); }, Qt::QueuedConnection);
    }
}

void TLambdaPlot::DrawChanged() {
    FDrawQueued = false;
    QCPLayer* data = layer("main");
    if (data->mode() == QCPLayer::lmBuffered && CurrentFrame() == FDrawn &&
        !hasInvalidatedPaintBuffers()) {
        data->replot();
        return;
    }
    if (CanPaintDirect()) {
        // What stays put is already drawn: the rest is drawn as the window paints.
        FDrawn = CurrentFrame();
        FPaintDirect = true;
        update(MovingRect());
        return;
    }
    replot(rpQueuedRefresh);
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
    ++FRevision;
    RedrawChanged();
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
        rect->setLayer("bands");
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
    ++FRevision;
    RedrawChanged();
}

void TLambdaPlot::ShowMarkers(const std::vector<double>& times) {
    while (FMarkers.size() < times.size()) {
        auto* line = new QCPItemStraightLine(this);
        line->setPen(QPen((FNight ? NightColours : DayColours).Marker, 1, Qt::DashDotLine));
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
    RedrawChanged();
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
