// Application for the widget base suite: one QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>

#include "base_app.h"
#include "platform/Synchronize.h"

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "tests_widgets_base";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        FApp = new QApplication(argc, argv);
        SetMainThread();
    }
    void TearDown() override {
        delete FApp;
        FApp = nullptr;
    }

private:
    QApplication* FApp = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

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
