// The About box: texts, logo, size, and how it blocks the main window while it is active.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QTest>

#include "dialogs/AboutDialog.h"
#include "monitor/MainWindow.h"
#include "tests/monitor/UiHarness.h"

using AboutBox = UiHarness;

TEST_F(AboutBox, ShowsProductVersionAndBlocksTheMainWindowWhileActive) {
    EXPECT_EQ(AboutForm->windowTitle(), "About");
    EXPECT_EQ(AboutForm->size(), QSize(326, 215));
    EXPECT_EQ(AboutForm->StaticText1->text(), "WBX4100 Uego Interface");
    EXPECT_TRUE(AboutForm->StaticText4->text().startsWith("Ver 1.2 "));
    EXPECT_FALSE(AboutForm->Image1->pixmap().isNull());
    EXPECT_FALSE(AboutForm->StaticText2->text().isEmpty());
    EXPECT_FALSE(AboutForm->StaticText3->text().isEmpty());

    Form1->About1->trigger();
    ASSERT_TRUE(WaitUntil([] { return AboutForm->isVisible() && !Form1->isEnabled(); }, 1000));
    // Centred on the main window.
    const QPoint offset = AboutForm->frameGeometry().center() - Form1->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4);
    AboutForm->close();
    EXPECT_TRUE(Form1->isEnabled());
}

TEST_F(AboutBox, EachTextIsCentredOnItsOwnBox) {
    const QImage image = AboutForm->grab().toImage();
    // Rows of each line clear of its neighbours, and the middle of its box.
    const struct {
        int Top, Bottom;
        double Middle;
    } lines[] = {{7, 21, 92 + 123 / 2.0},
                 {25, 38, 93 + 122 / 2.0},
                 {158, 174, 101 + 97 / 2.0},
                 {181, 197, 53 + 207 / 2.0}};
    for (const auto& line : lines) {
        int left = image.width();
        int right = -1;
        for (int y = line.Top; y <= line.Bottom; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y).lightness() < 110) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        ASSERT_GE(right, left) << "no text at row " << line.Top;
        EXPECT_NEAR((left + right + 1) / 2.0, line.Middle, 1.5) << "row " << line.Top;
    }
}
