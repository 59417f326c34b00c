#include "base_render.h"

#include <algorithm>

QImage RenderWidget(QWidget& w) {
    QImage image(w.size(), QImage::Format_RGB32);
    image.fill(kBackdrop);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

TColor PixelColor(const QImage& image, int x, int y) {
    return FromQColor(QColor(image.pixel(x, y)));
}

void SavePng(const QImage& image, const char* name) {
    const QByteArray dir = qgetenv("UEGO_PNG_DIR");
    if (!dir.isEmpty())
        image.scaled(image.size() * 4).save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

bool HasInk(const QImage& image, int x0, int y0, int x1, int y1, QRgb except) {
    for (int y = std::max(y0, 0); y < std::min(y1, image.height()); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, image.width()); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != kBackdrop && p != except)
                return true;
        }
    return false;
}
