// The About box: texts, logo, size, and how it blocks the main window while it is active.
#include <QAction>
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
