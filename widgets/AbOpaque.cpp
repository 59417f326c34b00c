#include "AbOpaque.h"

#include <QImage>
#include <QWidget>

bool EveryPixelOpaque(const QImage& image) {
    if (image.isNull()) {
        return false;
    }
    if (!image.hasAlphaChannel()) {
        return true;
    }
    const QImage argb = image.format() == QImage::Format_ARGB32_Premultiplied
                            ? image
                            : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 255) {
                return false;
            }
        }
    }
    return true;
}

void PaintsOpaqueFrom(QWidget* widget, const QImage& image) {
    widget->setAttribute(Qt::WA_OpaquePaintEvent, EveryPixelOpaque(image));
}
