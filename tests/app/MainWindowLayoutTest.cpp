// The main window's layout, fonts and menu, and a rendering of the live window.
#include <QAction>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

#include "dialogs/SensorSetupDialog.h"
#include "dialogs/CanSetupDialog.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/ComPortDialog.h"
#include "monitor/MainWindow.h"
#include "tests/monitor/UiHarness.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbRMeter.h"

using MainLayout = UiHarness;

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
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), "Setup");
    EXPECT_EQ(top[1]->text(), "About");
    QList<QAction*> setup = Form1->Setup1->actions();
    ASSERT_EQ(setup.size(), 3);
    EXPECT_EQ(setup[0]->text(), "Com Port");
    EXPECT_EQ(setup[1]->text(), "Sensor  Calibration");
    EXPECT_EQ(setup[2]->text(), "CAN Setup");
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
    TSimConfig config;
    config.Live.Lambda = 0.92;
    config.Live.SupplyVolts = 13.8;
    StartSimulator(1, config);
    PressOpen(1);
    ASSERT_TRUE(WaitUntil([] { return Text(Form1->Lambda1) == "0.92"; }, 1500));
    Pump(100);
    QImage image = Form1->grab().toImage();
    const QString path = QDir::temp().filePath("uego4100-main-window.png");
    image.save(path);
    std::printf("main window rendered to %s\n", path.toStdString().c_str());
    // The ONLINE lamp (20 x 20, left in its 73 x 33 box) shows the lit colour: lime.
    const QPoint menuOffset = Form1->centralWidget()->mapTo(Form1, QPoint(0, 0));
    const QRect lampBox = Form1->ONLINE->geometry().translated(menuOffset);
    bool lime = false;
    for (int x = lampBox.left(); x < lampBox.left() + 26; ++x) {
        const QColor c = image.pixelColor(x, lampBox.center().y());
        lime = lime || (c.green() > 200 && c.red() < 120 && c.blue() < 120);
    }
    EXPECT_TRUE(lime);
}
