#include "AbGradFill.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Pixel centre as a fraction of the extent.
double Frac(int i, int extent) {
    return extent <= 1 ? 0.0 : (i + 0.5) / extent;
}

// Distance 0 (centre) .. 1 (edge) of an ellipse centred at (cx, cy) in fractions.
double Radial(double fx, double fy, double cx, double cy) {
    const double rx = std::max(cx, 1.0 - cx);
    const double ry = std::max(cy, 1.0 - cy);
    const double dx = (fx - cx) / rx;
    const double dy = (fy - cy) / ry;
    return std::min(1.0, std::sqrt(dx * dx + dy * dy));
}

} // namespace

int AbGradBandCount(TColor rgbFrom, TColor rgbTo, TGradientStyle Style, int width, int height) {
    const int diff = std::max({std::abs(GetRValue(rgbTo) - GetRValue(rgbFrom)),
                               std::abs(GetGValue(rgbTo) - GetGValue(rgbFrom)),
                               std::abs(GetBValue(rgbTo) - GetBValue(rgbFrom)), 1});
    int extent;
    switch (Style) {
    case gsHorizontal1:
    case gsHorizontal3:
        extent = width;
        break;
    case gsHorizontal2:
        extent = width / 2;
        break;
    case gsVertical1:
    case gsVertical3:
        extent = height;
        break;
    case gsVertical2:
        extent = height / 2;
        break;
    case gsTopLeft:
    case gsTopRight:
        extent = width + height;
        break;
    default:
        extent = std::max(width, height) / 2;
        break;
    }
    return std::clamp(diff, 1, std::max(extent, 1));
}

double AbGradPosition(TGradientStyle Style, int x, int y, int width, int height) {
    const double fx = Frac(x, width);
    const double fy = Frac(y, height);
    switch (Style) {
    case gsHorizontal1:
        return fx;
    case gsHorizontal2:
        return 1.0 - std::abs(2.0 * fx - 1.0);
    case gsHorizontal3:
        return 1.0 - fx;
    case gsVertical1:
        return fy;
    case gsVertical2:
        return 1.0 - std::abs(2.0 * fy - 1.0);
    case gsVertical3:
        return 1.0 - fy;
    // Elliptic: From on the rim, To at the centre (centred, up-left, down-right).
    case gsElliptic1:
        return 1.0 - Radial(fx, fy, 0.5, 0.5);
    case gsElliptic2:
        return 1.0 - Radial(fx, fy, 1.0 / 3, 1.0 / 3);
    case gsElliptic3:
        return 1.0 - Radial(fx, fy, 2.0 / 3, 2.0 / 3);
    case gsRectangle:
        return 1.0 - std::max(std::abs(2.0 * fx - 1.0), std::abs(2.0 * fy - 1.0));
    case gsDiamond1:
        return 1.0 - std::min(1.0, (std::abs(2.0 * fx - 1.0) + std::abs(2.0 * fy - 1.0)) / 2.0);
    case gsDiamond2:
        return std::min(1.0, (std::abs(2.0 * fx - 1.0) + std::abs(2.0 * fy - 1.0)) / 2.0);
    case gsTopLeft:
        return (fx + fy) / 2.0;
    case gsTopRight:
        return ((1.0 - fx) + fy) / 2.0;
    }
    return 0.0;
}

int AbGradBand(double position, int bands) {
    if (bands <= 1)
        return 0;
    return std::clamp(int(position * bands), 0, bands - 1);
}

void AbGradFill(TAbCanvas& canvas, const TRect& r, TColor ColFrom, TColor ColTo,
                TGradientStyle Style) {
    if (r.IsEmpty())
        return;
    const TColor from = ColorToRGB(ColFrom, canvas.Palette());
    const TColor to = ColorToRGB(ColTo, canvas.Palette());
    if (from == to) {
        canvas.FillRect(r, ColFrom);
        return;
    }
    const int w = r.Width(), h = r.Height();
    const int bands = AbGradBandCount(from, to, Style, w, h);
    std::vector<QRgb> colours(bands);
    for (int i = 0; i < bands; ++i) {
        const TColor c = AbCalcColor(from, to, std::max(bands - 1, 1), i, canvas.Palette());
        colours[i] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = colours[AbGradBand(AbGradPosition(Style, x, y, w, h), bands)];
    }
    canvas.Painter().drawImage(QPoint(r.Left, r.Top), image);
}
