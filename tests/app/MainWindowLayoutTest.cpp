// The main window's layout, fonts and menu, and a rendering of the live window.
#include <QAction>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>

#include "dialogs/AboutDialog.h"
#include "dialogs/CanSetupDialog.h"
#include "dialogs/ComPortDialog.h"
#include "dialogs/SensorSetupDialog.h"
#include "monitor/MainWindow.h"
#include "serial/VaComm.h"
#include "tests/monitor/UiHarness.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbRMeter.h"

using MainLayout = UiHarness;

namespace {
bool IsLime(const QColor& c) {
    return c.green() > 200 && c.red() < 120 && c.blue() < 120;
}
bool IsRed(const QColor& c) {
    return c.red() > 200 && c.green() < 120 && c.blue() < 120;
}
// Where a lamp shows its lit colour, in an image of the whole main window.
QRect LitArea(const QImage& window, const TAbLED* led, bool (*lit)(const QColor&)) {
    const QRect box(led->mapTo(Form1, QPoint(0, 0)), led->size());
    QRect area;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (lit(window.pixelColor(x, y))) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

// Whether a label or field shows its whole text on screen.
bool ShowsWholeText(QWidget* widget) {
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        field->grab(); // painting settles where the text sits
        const int middle = field->height() / 2;
        return field->cursorPositionAt(QPoint(3, middle)) == 0 &&
               field->cursorPositionAt(QPoint(field->width() - 3, middle)) == field->text().size();
    }
    auto* label = qobject_cast<QLabel*>(widget);
    const QRect room = label->contentsRect();
    const QFontMetrics metrics(label->font());
    if (label->wordWrap()) {
        return label->heightForWidth(room.width()) <= room.height();
    }
    return metrics.horizontalAdvance(label->text()) <= room.width() &&
           metrics.height() <= room.height();
}
} // namespace

TEST_F(MainLayout, WindowsCaptionsAndClientSizes) {
    EXPECT_EQ(Form1->centralWidget()->size(), QSize(482, 448));
    EXPECT_EQ(Form1->font().family(), "Tahoma");
    EXPECT_EQ(Form1->font().pixelSize(), 11);
    EXPECT_EQ(CalForm->windowTitle(), "Sensor Setup");
    EXPECT_EQ(CalForm->size(), QSize(389, 174));
    EXPECT_EQ(CANform->windowTitle(), "CAN Setup");
    EXPECT_EQ(CANform->size(), QSize(353, 242));
    // Only the main window is shown at start.
    EXPECT_FALSE(CalForm->isVisible());
    EXPECT_FALSE(CANform->isVisible());
    EXPECT_FALSE(AboutForm->isVisible());
    EXPECT_FALSE(ComPortForm->isVisible());
}

TEST_F(MainLayout, MenuItemsInOrder) {
    QList<QAction*> top = Form1->menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text(), "Setup");
    EXPECT_EQ(top[1]->text(), "View");
    EXPECT_EQ(top[2]->text(), "About");
    QList<QAction*> setup = Form1->Setup1->actions();
    ASSERT_EQ(setup.size(), 4);
    EXPECT_EQ(setup[0]->text(), "Com Port");
    EXPECT_EQ(setup[1]->text(), "Sensor  Calibration");
    EXPECT_EQ(setup[2]->text(), "CAN Setup");
    EXPECT_EQ(setup[3]->text(), "Display...");
    QList<QAction*> view = Form1->View1->actions();
    ASSERT_EQ(view.size(), 3);
    EXPECT_EQ(view[0]->text(), "Lambda Chart");
    EXPECT_EQ(view[1]->text(), "Dash");
    EXPECT_EQ(view[1]->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_EQ(view[2]->text(), "Night Theme");
}

TEST_F(MainLayout, ComponentsAtTheirPlaces) {
    EXPECT_EQ(Form1->Meter1->geometry(), QRect(121, 32, 337, 321));
    EXPECT_EQ(Form1->ONLINE->geometry(), QRect(12, 35, 73, 33));
    EXPECT_EQ(Form1->OFFLINE->geometry(), QRect(12, 73, 73, 33));
    EXPECT_EQ(Form1->WarmupLED->geometry(), QRect(12, 116, 94, 33));
    EXPECT_EQ(Form1->DiskLED->geometry(), QRect(12, 256, 103, 33));
    EXPECT_EQ(Form1->Value1->geometry(), QRect(18, 157, 48, 25));
    EXPECT_EQ(Form1->Lambda1->geometry(), QRect(224, 359, 129, 56));
    EXPECT_EQ(Form1->LogStart->geometry(), QRect(18, 203, 75, 25));
    EXPECT_EQ(Form1->LogStop->geometry(), QRect(18, 230, 75, 25));
    EXPECT_EQ(Form1->StaticText3->text(), "Volts");
    EXPECT_EQ(Form1->StaticText3->font().pixelSize(), 13);
    EXPECT_EQ(Form1->StaticText2->pos(), QPoint(60, 497));
    EXPECT_EQ(Form1->ONLINE->Caption(), "ONLINE");
    EXPECT_EQ(Form1->OFFLINE->Caption(), "OFFLINE");
    EXPECT_EQ(Form1->WarmupLED->Caption(), "WARMUP");
    EXPECT_EQ(Form1->DiskLED->Caption(), "Disk Log Active");
    EXPECT_EQ(Form1->StringGrid1->columnCount(), 3);
    EXPECT_EQ(Form1->StringGrid1->rowCount(), 20);
}

TEST_F(MainLayout, EnlargingRevealsTheLogPathButNotTheDiagnostics) {
    Form1->StaticText2->setText("/tmp/x.txt");
    Form1->resize(800, 640);
    Pump(50);
    EXPECT_TRUE(Form1->StaticText2->isVisible());
    EXPECT_TRUE(Form1->centralWidget()->rect().contains(Form1->StaticText2->geometry().topLeft()));
    EXPECT_FALSE(Form1->StringGrid1->isVisible());
}

TEST_F(MainLayout, LiveWindowRendersLampsAndNumbers) {
    OpenLive(0.92);
    ASSERT_TRUE(LambdaShows("0.92"));
    Pump(100);
    QImage image = Form1->grab().toImage();
    const QString path = QDir::temp().filePath("uego4100-main-window.png");
    image.save(path);
    std::printf("main window rendered to %s\n", path.toStdString().c_str());
    // The ONLINE lamp shows the lit colour: lime.
    EXPECT_FALSE(LitArea(image, Form1->ONLINE, IsLime).isEmpty());
}

TEST_F(MainLayout, TextsSetWhileRunningShowWhole) {
    TTestDevice device(PortDir, 2);
    PressOpen(2);
    // The widest readings: lambda 65.535 and 15.9 V.
    ASSERT_TRUE(AnswerPoll(device, {0, 0, 0, 0xFF, 0xFF, 0, 0xFF, 0}));
    ASSERT_EQ(Text(Form1->Lambda1), "65.535");

    // Sensor Setup reads at once: 20000 ohms and version byte 255 (V26.0).
    Form1->Calibration1->trigger();
    ASSERT_TRUE(WaitUntil([] { return CALrequest; }, 1000));
    device.Write({0xC0, 0x0B, 0x60, 0x00, 0x05, 0x04, 0x83, 0x04, 0x83, 0xFF});
    ASSERT_TRUE(WaitUntil([] { return !CALrequest; }, 500));
    Pump(20); // what the screen shows once the window has caught up
    for (QWidget* w : {static_cast<QWidget*>(CalForm->VersionText),
                       static_cast<QWidget*>(CalForm->ResistanceEdit1)}) {
        EXPECT_TRUE(ShowsWholeText(w)) << w->objectName().toStdString();
    }
    CalForm->close();

    // CAN Setup: address 2046.
    Form1->CANSetup1->trigger();
    ASSERT_TRUE(WaitUntil([] { return CANform->isVisible() && !Form1->isEnabled(); }, 500));
    CANform->Button1->click();
    device.Write({0xC0, 0x09, 0x60, 0x0A, 0x03, 0x07, 0xFE, 0x00, 0x2E});
    ASSERT_TRUE(WaitUntil([] { return !CANrequest; }, 500));
    Pump(20);
    EXPECT_TRUE(ShowsWholeText(CANform->CANAbNumEdit2));
    CANform->close();

    // A log file deep in the folders.
    StartLogTo(TempPath(std::string(150, 'l') + ".txt"));
    ASSERT_TRUE(LogOn);
    Pump(20);
    for (QWidget* w : {static_cast<QWidget*>(Form1->Lambda1), static_cast<QWidget*>(Form1->Value1),
                       static_cast<QWidget*>(Form1->StaticText2),
                       static_cast<QWidget*>(ComPortForm->DeviceText)}) {
        EXPECT_TRUE(ShowsWholeText(w)) << w->objectName().toStdString();
    }
}

TEST_F(MainLayout, DiskLampIsSmallAndTheLinkAndWarmUpLampsLarge) {
    for (TAbLED* led : {Form1->ONLINE, Form1->OFFLINE, Form1->WarmupLED, Form1->DiskLED}) {
        led->SetChecked(true);
    }
    const QImage image = Form1->grab().toImage();
    // The fill inside a lamp's outline: a pixel or two less than the lamp.
    const QRect disk = LitArea(image, Form1->DiskLED, IsLime);
    EXPECT_LE(disk.width(), 13);
    EXPECT_GE(disk.width(), 10);
    for (const QRect& large :
         {LitArea(image, Form1->ONLINE, IsLime), LitArea(image, Form1->WarmupLED, IsLime),
          LitArea(image, Form1->OFFLINE, IsRed)}) {
        EXPECT_GE(large.width(), 17);
        EXPECT_LE(large.width(), 20);
    }
}

TEST_F(MainLayout, WindowIsCentredOnTheScreenWithItsWholeFrame) {
    Pump(20); // the placement is checked once more when the window is up
    const QPoint offset =
        Form1->frameGeometry().center() - Form1->screen()->availableGeometry().center();
    EXPECT_LE(std::abs(offset.x()), 1);
    EXPECT_LE(std::abs(offset.y()), 1);
    EXPECT_EQ(Form1->centralWidget()->size(), QSize(482, 448));
}
