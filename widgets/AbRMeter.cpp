#include "AbRMeter.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "AbFlashT.h"
#include "AbOpaque.h"

namespace {
QRect BoundsOf(const QPoint* points, size_t count) {
    if (count == 0)
        return {};
    QPoint low = points[0];
    QPoint high = points[0];
    for (size_t i = 1; i < count; ++i) {
        low = QPoint(std::min(low.x(), points[i].x()), std::min(low.y(), points[i].y()));
        high = QPoint(std::max(high.x(), points[i].x()), std::max(high.y(), points[i].y()));
    }
    return QRect(low, high);
}

bool IsOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) != 255)
                return false;
    }
    return true;
}
} // namespace

TAbRMeter::TAbRMeter(QWidget* parent) : TAbAnalogGControl(parent), FFontUnit("System") {
    // Nothing paints until the stored settings have been applied (Loaded).
    BeginUpdate();
    FFontUnit.setPointSize(10);
    FBevelInner.SetStyle(bsLowered);
    FBevelInner.SetBevelLine(blInner);
    FBevelOuter.SetStyle(bsRaised);
    FBevelOuter.SetBevelLine(blOuter);
    FBmpPointerArea = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    FBmpPointerArea.fill(Qt::transparent);
}

TAbRMeter::~TAbRMeter() {
    if (FFlashRegistered)
        DelControl(this);
}

void TAbRMeter::SetFixedGeometry(int startAngle, int rotAngle, float heightFactor,
                                 TMeterType type) {
    FStartAngle = startAngle;
    FRotAngle = rotAngle;
    FHeightFactor = heightFactor;
    FMeterType = type;
}

// --- settings ----------------------------------------------------------------------------

void TAbRMeter::SetAutoSize(bool v) {
    FAutoSize = v;
    if (UpdateCount() == 0)
        RequestFullPaint();
}

void TAbRMeter::SetFontUnit(const QFont& font, TColor color) {
    FFontUnit = font;
    FFontUnitColor = color;
    if (UpdateCount() == 0)
        RequestFullPaint();
}

void TAbRMeter::SetOptions(TRMeterOptions options) {
    FOptions = options;
    PointerFlash(); // the overflow and limit options decide the blinking
    if (UpdateCount() == 0)
        RequestFullPaint();
}

void TAbRMeter::Loaded() {
    auto route = [this](QObject* sender) { ParamChange(sender); };
    FArrowSettings.OnChange = route;
    FBevelInner.OnChange = route;
    FBevelOuter.OnChange = route;
    FScaleSettings.OnChange = route;
    TAbAnalogGControl::Loaded();
    EndUpdate();
    // Settings applied while loading may have passed through an alarm state on their way
    // to the final ones; only the state the loaded meter is in decides whether it blinks.
    PointerFlash();
}

void TAbRMeter::ParamChange(QObject* Sender) {
    TAbAnalogGControl::ParamChange(Sender);
    PointerFlash();
    if (UpdateCount() == 0)
        RequestFullPaint();
}

void TAbRMeter::LogScaleChanged() {
    FScaleSettings.SetLogScale(LogScale());
    if (UpdateCount() == 0)
        RequestFullPaint();
}

void TAbRMeter::resizeEvent(QResizeEvent* event) {
    FFullPaintPending = true;
    TAbAnalogGControl::resizeEvent(event);
}

void TAbRMeter::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        RequestFullPaint();
    TAbAnalogGControl::changeEvent(event);
}

// --- redraw requests ---------------------------------------------------------------------

void TAbRMeter::RequestFullPaint() {
    FFullPaintPending = true;
    update();
}

void TAbRMeter::RequestPointerPaint() {
    // Only where the pointer was drawn and where it goes changes in the square: the rest of
    // it would be recomposed to the pixels it already has.
    const QRect square = ToQRect(FrPointer);
    if (FPointerDrawn.isEmpty()) {
        update(square);
        return;
    }
    update((FPointerDrawn | PointerFootprint(ArrowNow(), MarkerNow(FminPointerStart, MinPPT()),
                                             MarkerNow(FmaxPointerStart, MaxPPT()))) &
           square);
}

bool TAbRMeter::HasBackground() const {
    return !FBmpPointerArea.isNull() && FBmpPointerArea.deviceIndependentSize().width() >= 2;
}

QColor TAbRMeter::Resolve(TColor c) const {
    return ToQColor(c, palette());
}

// --- size --------------------------------------------------------------------------------

void TAbRMeter::CalcSize(TAbCanvas& canvas) {
    const TSignalSettings& s = SignalSettings();
    auto measure = [&canvas](const std::string& text) {
        const QString q = QString::fromStdString(text);
        return QSize(canvas.TextWidth(q), canvas.TextHeight(q));
    };
    canvas.SetFont(font());
    FsName1 = measure(s.Name1());
    FsName2 = measure(s.Name2());
    canvas.SetFont(FFontUnit);
    FsUnit = measure(s.ValueUnit());
    FScaleSettings.CalcRSize(canvas, s.ValueFrom(), s.ValueTo());
    if (!FAutoSize)
        return;

    const int textW = FScaleSettings.TextW();
    const int textH = FScaleSettings.TextH();
    int w = 10 * textH;
    int h = AbRound((w - textW) / FHeightFactor + textH);
    int bevels = 0;
    if (FOptions.Contains(opBevelOuter)) {
        w += 2 * FBevelOuter.TotalWidth();
        h += 2 * FBevelOuter.TotalWidth();
        bevels += 2 * FBevelOuter.TotalWidth();
    }
    if (FOptions.Contains(opBevelInner))
        bevels += 2 * FBevelInner.TotalWidth();
    if (FOptions.Contains(opName1)) {
        h += FsName1.height();
        w = std::max(w, FsName1.width() + bevels);
    }
    if (FOptions.Contains(opName2)) {
        h += FsName2.height();
        w = std::max(w, FsName2.width() + bevels);
    }
    if (FOptions.Contains(opBevelInner)) {
        h += 2 * FBevelInner.TotalWidth();
        w += 2 * FBevelInner.TotalWidth();
    }
    Fmin_w = static_cast<uint16_t>(w);
    Fmin_h = static_cast<uint16_t>(h);
    ApplyAutoSize();
}

void TAbRMeter::ApplyAutoSize() {
    if (width() == Fmin_w && height() == Fmin_h)
        return;
    // Resizing from inside a paint is not allowed; the new size causes another paint.
    const int w = Fmin_w;
    const int h = Fmin_h;
    QMetaObject::invokeMethod(
        this, [this, w, h] { resize(w, h); }, Qt::QueuedConnection);
}

// --- full paint --------------------------------------------------------------------------

void TAbRMeter::paintEvent(QPaintEvent* event) {
    if (UpdateCount() > 0)
        return;
    QPainter p(this);
    const bool pointerOnly = !FFullPaintPending && !FisToSmall && HasBackground() &&
                             ToQRect(FrPointer).contains(event->rect());
    if (pointerOnly) {
        ++FPointerPaints;
        DrawPointer(p, true);
        return;
    }
    const QSize expected = size() * devicePixelRatioF();
    if (FFullPaintPending || FBackground.size() != expected)
        RenderBackground();
    p.drawImage(0, 0, FBackground);
    FFullPaintPending = false;
    ++FFullPaints;
    DrawPointer(p, false);
}

void TAbRMeter::RenderBackground() {
    const qreal dpr = devicePixelRatioF();
    QImage image(size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter ip(&image);
        TAbCanvas canvas(ip, palette());
        PaintBackground(canvas);
    }
    FBackground = image;
    // A filled face covers every pixel the pointer's repaints touch: the window need not
    // paint beneath it ten times a second.
    PaintsOpaqueFrom(this, FBackground);
    if (!FisToSmall)
        SaveBackground();
}

void TAbRMeter::PaintCaptions(TAbCanvas& canvas, TRect& r, int space) {
    canvas.SetBrushClear();
    canvas.SetFont(font());
    canvas.SetFontColor(FontColor());
    const TSignalSettings& s = SignalSettings();
    if (FOptions.Contains(opName2)) {
        r.Bottom -= FsName2.height();
        canvas.TextOut(r.Left + (r.Width() - FsName2.width()) / 2, r.Bottom + space,
                       QString::fromStdString(s.Name2()));
    }
    if (FOptions.Contains(opName1)) {
        r.Bottom -= FsName1.height();
        canvas.TextOut(r.Left + (r.Width() - FsName1.width()) / 2, r.Bottom + space,
                       QString::fromStdString(s.Name1()));
    }
}

void TAbRMeter::PaintUnit(TAbCanvas& canvas) {
    canvas.SetBrushClear();
    canvas.SetFont(FFontUnit);
    canvas.SetFontColor(FFontUnitColor);
    const int left = FrPointer.Left + (FrPointer.Width() - FsUnit.width()) / 2;
    const int top =
        AbRound((width() - FScaleSettings.TextW()) / FHeightFactor - FScaleSettings.TextH());
    canvas.TextOut(left, top, QString::fromStdString(SignalSettings().ValueUnit()));
}

void TAbRMeter::PaintBackground(TAbCanvas& canvas) {
    CalcSize(canvas);
    TRect r{0, 0, width(), height()};
    int space = 0;
    if (FOptions.Contains(opBevelOuter)) {
        FBevelOuter.PaintFilledBevel(canvas, r);
        space = FBevelOuter.Spacing() / 2;
    }
    PaintCaptions(canvas, r, space);
    if (FOptions.Contains(opBevelInner))
        FBevelInner.PaintFilledBevel(canvas, r);
    FisToSmall = r.Width() < 2 || r.Height() < 2;
    if (FisToSmall)
        return;

    const TRect kept = r;
    FScaleSettings.RoundScala(canvas, r, FStartAngle, FRotAngle);
    FrPointer = r;
    if (FOptions.Contains(opSector)) {
        TRect band = r;
        AbBorder(band, FScaleSettings.sl1() + SectorSettings().Offset());
        DrawRSector(canvas, band, SectorSettings(), FScaleSettings, FStartAngle, FRotAngle);
        if (SectorSettings().Offset() < 0) {
            TRect again = kept;
            FScaleSettings.RoundScala(canvas, again, FStartAngle, FRotAngle);
        }
    }
    if (FOptions.Contains(opUnit))
        PaintUnit(canvas);
    BuildPointerTemplates();
}

void TAbRMeter::BuildPointerTemplates() {
    FArrowStartPos =
        RotateArrow(AbArrowField(FArrowSettings.Shape(), FrPointer.Width()), FStartAngle);
    FArrowActPos = FArrowStartPos;
    const TMarkerTemplates markers =
        MarkerTemplates(FScaleSettings.sl1(), FArrowStartPos.Pivot, FStartAngle);
    FminPointerStart = markers.Min;
    FmaxPointerStart = markers.Max;
}

void TAbRMeter::SaveBackground() {
    const qreal dpr = FBackground.devicePixelRatio();
    const QRect square = ToQRect(FrPointer);
    const QRect device(QPointF(square.topLeft() * dpr).toPoint(),
                       QSizeF(square.size() * dpr).toSize());
    // Parts of the square outside the control stay transparent.
    QImage saved(device.size(), QImage::Format_ARGB32_Premultiplied);
    saved.fill(Qt::transparent);
    {
        QPainter sp(&saved);
        sp.drawImage(QPoint(0, 0), FBackground, device);
    }
    saved.setDevicePixelRatio(dpr);
    FBmpPointerArea = saved;
    // A square the face covers whole is restored by a plain copy, with no blending to do;
    // the pixels are the same either way.
    if (IsOpaque(FBmpPointerArea))
        FBmpPointerArea.reinterpretAsFormat(QImage::Format_RGB32);
}

// --- pointer -----------------------------------------------------------------------------

void TAbRMeter::DrawMarker(QPainter& p, const std::array<QPoint, 3>& marker, int ppt, TColor own) {
    TColor fill = own;
    if (MinMax().UseSectorCol())
        SectorSettings().CheckSectorColor(ppt, fill);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Resolve(fill));
    p.drawPolygon(marker.data(), static_cast<int>(marker.size()));
}

void TAbRMeter::DrawHub(QPainter& p, QPoint pivot, int radius, TColor pen, TColor brush) {
    // A disc in the outline colour and, one pixel in, a disc in the fill colour.
    auto disc = [&p, pivot](int r, const QColor& color) {
        for (const TDiscRow& row : DiscRows(pivot, r))
            p.fillRect(row.Left, row.Y, row.Right - row.Left + 1, 1, color);
    };
    disc(radius, Resolve(pen));
    disc(radius - 1, Resolve(brush));
}

void TAbRMeter::DrawPointer(QPainter& painter, bool restoreBackground) {
    if (FisToSmall || !HasBackground())
        return;
    // The widget paints into the toolkit's back buffer, which reaches the screen in one
    // operation: the square is composed there, so no further off-screen copy is needed.
    const QPoint origin(FrPointer.Left, FrPointer.Top);
    if (restoreBackground)
        painter.drawImage(origin, FBmpPointerArea);
    painter.save();
    painter.translate(origin);
    painter.setClipRect(QRect(QPoint(0, 0), FBmpPointerArea.deviceIndependentSize().toSize()));
    // The needle, hub and markers are hard-edged on the instrument; drawing them without
    // edge smoothing keeps the ten-per-second pointer update cheap.
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawMarkers(painter);
    DrawArrow(painter);
    painter.restore();
    FPointerDrawn = PointerFootprint(FArrowActPos, FminPointer, FmaxPointer);
}

TArrowField TAbRMeter::ArrowNow() const {
    const int ppt = std::clamp(PositionOfDigit(), 0, 1000);
    return RotateArrow(FArrowStartPos, PositionAngle(FRotAngle, ppt));
}

std::array<QPoint, 3> TAbRMeter::MarkerNow(const std::array<QPoint, 3>& start, int ppt) const {
    return RotateMarker(start, FArrowStartPos.Pivot, PositionAngle(FRotAngle, ppt));
}

QRect TAbRMeter::PointerFootprint(const TArrowField& arrow, const std::array<QPoint, 3>& min,
                                  const std::array<QPoint, 3>& max) const {
    const std::vector<QPoint> polygon = arrow.Polygon();
    QRect drawn = BoundsOf(polygon.data(), polygon.size());
    const int hub = std::max(arrow.R1, arrow.R2);
    if (hub > 0)
        drawn |= QRect(arrow.Pivot - QPoint(hub, hub), QSize(2 * hub + 1, 2 * hub + 1));
    if (MinMax().MinVisible())
        drawn |= BoundsOf(min.data(), min.size());
    if (MinMax().MaxVisible())
        drawn |= BoundsOf(max.data(), max.size());
    // A pixel around for the one-pixel outlines, two to be safe.
    return drawn.adjusted(-2, -2, 2, 2).translated(FrPointer.Left, FrPointer.Top);
}

void TAbRMeter::DrawMarkers(QPainter& p) {
    FminPointer = MarkerNow(FminPointerStart, MinPPT());
    FmaxPointer = MarkerNow(FmaxPointerStart, MaxPPT());
    if (MinMax().MinVisible())
        DrawMarker(p, FminPointer, MinPPT(), MinMax().MinColor());
    if (MinMax().MaxVisible())
        DrawMarker(p, FmaxPointer, MaxPPT(), MinMax().MaxColor());
}

void TAbRMeter::DrawArrow(QPainter& p) {
    TColor outline = FArrowSettings.ColorPen();
    TColor fill = FArrowSettings.ColorBrush();
    if (FFlashing) {
        fill = FFlashColor;
        if (FArrowStartPos.OutlineFlashes)
            outline = FFlashColor;
    }
    FArrowActPos = ArrowNow();
    const std::vector<QPoint> poly = FArrowActPos.Polygon();
    p.setPen(QPen(Resolve(outline), 1));
    p.setBrush(Resolve(fill));
    p.drawPolygon(poly.data(), static_cast<int>(poly.size()));

    const QPoint pivot = FArrowActPos.Pivot;
    if (FArrowActPos.R1 > 0)
        DrawHub(p, pivot, FArrowActPos.R1, FArrowSettings.ColorCP1Pen(),
                FArrowSettings.ColorCP1Brush());
    if (FArrowActPos.R2 > 0)
        DrawHub(p, pivot, FArrowActPos.R2, FArrowSettings.ColorCP2Pen(),
                FArrowSettings.ColorCP2Brush());
}

// --- value update and flashing -----------------------------------------------------------

void TAbRMeter::ValueChange() {
    FvChange = true;
    TAbAnalogGControl::ValueChange();
    if (!FisToSmall && HasBackground() && isVisible())
        RequestPointerPaint();
    FvChange = false;
}

void TAbRMeter::OverflowChange(int ppt) {
    (void)ppt;
    PointerFlash();
}

void TAbRMeter::LimitChange() {
    PointerFlash();
}

void TAbRMeter::PointerFlash() {
    if (!IsLoaded())
        return; // decided once loading has finished (Loaded)
    // The overflow flags, not the position: the position is clamped to the scale by the
    // time a loaded or re-evaluated meter asks, the flags keep which side it left.
    const bool overflow = FOptions.Contains(opOverflow) && (UOverflow() || LOverflow());
    const bool limit = FOptions.Contains(opLimit) && (LLimit() || ULimit());
    if (overflow || limit || FAlarmFlash) {
        AddControl(this, Freq2Hz);
        FFlashRegistered = true;
        FFlashing = true;
    } else {
        FFlashing = false;
        if (FFlashRegistered)
            DelControl(this);
        FFlashRegistered = false;
    }
}

void TAbRMeter::SetAlarmFlash(bool on) {
    if (on == FAlarmFlash)
        return;
    FAlarmFlash = on;
    const bool was = FFlashing;
    PointerFlash();
    // Stopping shows the pointer in its own colours at once, not at the next reading.
    if (was && !FFlashing && !FisToSmall && HasBackground() && isVisible())
        RequestPointerPaint();
}

void TAbRMeter::WMFlash(int phase) {
    if (!isVisible() || FvChange || FisToSmall)
        return;
    FFlashColor = phase != 0 ? cAlarm1 : cAlarm0;
    RequestPointerPaint();
}

bool TAbRMeter::event(QEvent* event) {
    if (event->type() == TWMFlash::EventType()) {
        auto* message = static_cast<TWMFlash*>(event);
        message->Handle([&] { WMFlash(message->LParam); });
        return true;
    }
    return TAbAnalogGControl::event(event);
}

// --- 270-degree dial ---------------------------------------------------------------------

TAb270Meter::TAb270Meter(QWidget* parent) : TAbRMeter(parent) {
    SetFixedGeometry(225, 270, 1.18f, Ab270Meter);
    resize(252, 252);
    ScaleSettings().SetSteps(10);
}
