// The field's background in its three states, looked at as pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "numedit_window.h"
#include "widgets/AbCachedPanel.h"
#include "widgets/AbNumEditFactory.h"

namespace {

QImage Grab(TAbNumEdit* field, const char* name) {
    QImage image = field->grab().toImage();
    image.save(QDir::temp().filePath(QStringLiteral("numedit_%1.png").arg(name)));
    return image;
}

// The background colour inside the frame, right of the (left-aligned) text.
QColor Inside(const QImage& image) {
    return image.pixelColor(image.width() - 6, image.height() / 2);
}

} // namespace

TEST(NumEditRender, ThreeStatesShowThreeBackgrounds) {
    TNumEditRecorder rec;
    TNumEditWindow win;
    TAbNumEdit* field = CreateResistanceEdit1(nullptr);
    win.Adopt(field);
    field->resize(120, 27);

    const QImage normal = Grab(field, "normal");
    EXPECT_EQ(Inside(normal), QApplication::palette(field).color(QPalette::Base));

    TypeOver(field, "1500");
    const QImage editing = Grab(field, "editing");
    EXPECT_EQ(Inside(editing), QColor(0, 255, 0));

    QTest::keyClicks(field, "x");
    const QImage error = Grab(field, "error");
    EXPECT_EQ(Inside(error), QColor(255, 0, 0));

    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(Inside(Grab(field, "restored")), Inside(normal));
}

TEST(NumEditRender, ColourPropertiesAreTheStateBackgrounds) {
    TNumEditRecorder rec;
    TNumEditWindow win;
    auto* field = new TAbNumEdit;
    win.Adopt(field);
    field->SetColorDefault(0x00FFFF00); // aqua, stored as 0x00BBGGRR
    EXPECT_EQ(Inside(Grab(field, "aqua")), QColor(0, 255, 255));
    field->SetColorEditing(0x00800000); // navy
    QTest::keyClicks(field, "1");
    EXPECT_EQ(Inside(Grab(field, "navy")), QColor(0, 0, 128));
}

TEST(NumEditRender, Lambda1ReadingFitsItsField) {
    TNumEditRecorder rec;
    TNumEditWindow win;
    TAbNumEdit* lambda = CreateLambda1(nullptr);
    win.Adopt(lambda);
    win.Leave();
    lambda->SetValue(0.987);
    const QImage image = Grab(lambda, "lambda");
    EXPECT_EQ(image.size(), QSize(129, 56));
    EXPECT_LT(lambda->fontMetrics().horizontalAdvance(lambda->text()), 129 - 8);
    EXPECT_LT(lambda->fontMetrics().height(), 56);
    // Dark text pixels somewhere across the middle row, background at the right end.
    int dark = 0;
    for (int x = 0; x < image.width(); ++x)
        dark += image.pixelColor(x, image.height() / 2).lightness() < 100;
    EXPECT_GT(dark, 5);
    EXPECT_EQ(Inside(image), QApplication::palette(lambda).color(QPalette::Base));
}

namespace {
// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        Paints += event->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

TEST(NumEditRender, ANewValueWithTheSameTextDoesNotRepaint) {
    TNumEditRecorder rec;
    TNumEditWindow win;
    TAbNumEdit* lambda = CreateLambda1(nullptr);
    win.Adopt(lambda);
    win.Leave();
    lambda->SetValue(0.9011);
    QTest::qWait(30);
    TPaintCounter counter;
    lambda->installEventFilter(&counter);
    lambda->SetValue(0.9012); // shown as "0.901" as before
    QTest::qWait(30);
    EXPECT_EQ(lambda->text(), "0.901");
    EXPECT_EQ(counter.Paints, 0);
    lambda->SetValue(0.902);
    QTest::qWait(30);
    EXPECT_EQ(lambda->text(), "0.902");
    EXPECT_GT(counter.Paints, 0);
}

// A field whose frame is kept as a picture covers its corners with what it sits on: the
// window's colour as it is now, or the colour of a container that fills its own background.
TEST(NumEditRender, ACachedFrameShowsWhatTheFieldSitsOnAtItsCorners) {
    QWidget window;
    window.resize(200, 100);
    auto* container = new QWidget(&window);
    container->setGeometry(0, 0, 200, 100);
    auto* field = new QLineEdit("1.000", container);
    field->setGeometry(20, 20, 120, 40);
    KeepPanelCached(field);
    const auto corner = [&] { return window.grab().toImage().pixelColor(field->pos()); };
    const auto paint = [](QWidget* w, QColor colour) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, colour);
        w->setPalette(palette);
    };

    paint(&window, QColor(40, 40, 40));
    EXPECT_EQ(corner(), QColor(40, 40, 40));
    paint(&window, QColor(200, 210, 220));
    EXPECT_EQ(corner(), QColor(200, 210, 220)) << "the frame kept the window's old colour";
    container->setAutoFillBackground(true);
    paint(container, QColor(0, 128, 0));
    EXPECT_EQ(corner(), QColor(0, 128, 0)) << "the frame covered the container's colour";
}
