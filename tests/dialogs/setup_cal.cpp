// Sensor Setup: layout, the automatic read on showing, calibration writes byte for byte, the
// conversions the field shows, polling stopped while the dialog is up, and the progress cue.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "dialogs/SensorSetupDialog.h"
#include "setup_fixture.h"
#include "widgets/AbSwitch.h"

using SensorSetup = SetupDialogs;

namespace {
bool CalReadDone() {
    return !CALrequest;
}
} // namespace

TEST_F(SensorSetup, TextsFieldAndIdleState) {
    EXPECT_EQ(CalForm->windowTitle(), "Sensor Setup");
    EXPECT_EQ(CalForm->size(), QSize(389, 174));
    TAbNumEdit* field = CalForm->ResistanceEdit1;
    EXPECT_EQ(field->toolTip(), "Measure sensor plug resistor and enter value");
    EXPECT_EQ(std::make_pair(field->MinValue(), field->MaxValue()), std::make_pair(1000., 20000.));
    EXPECT_EQ(Text(field), "1000");
    EXPECT_EQ(CalForm->StaticText3->text(), "Sensor plug resistor value (Ohms)");
    EXPECT_EQ(CalForm->ReadButton1->text(), "Read Cal value");
    EXPECT_EQ(CalForm->WriteButton2->text(), "Write Cal value");
    EXPECT_EQ(CalForm->VersionText->text(), "***");
    EXPECT_FALSE(CalForm->Image1->pixmap().isNull());
    EXPECT_FALSE(CalForm->Timer1->Enabled());
}

TEST_F(SensorSetup, ShownWhileOnlineReadsAtOnceAndStopsPollingUntilClosed) {
    TSimConfig config;
    config.Firmware = 12;
    StartOnline(config);
    // Rich and lean differ: the field follows the lean value.
    Sim->SetCalRich(1100);
    Sim->SetCalLean(1000);
    const size_t before = Sim->RequestCount();
    Show(Form1->Calibration1, CalForm);
    ASSERT_TRUE(WaitUntil(CalReadDone, 1000));
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 4971);
    EXPECT_EQ(CalForm->VersionText->text(), "V1.2");
    EXPECT_TRUE(CalForm->ProgressBar1->isVisible());
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_FALSE(Form1->AbToggleSwitch1->Checked());

    Pump(400);
    const std::vector<TFrame> whileShown = FramesSince(before);
    ASSERT_EQ(whileShown.size(), 1u);
    EXPECT_EQ(whileShown[0], (TFrame{0xC0, 0x06, 0x60, 0x00, 0x05, 0xD4}));

    const size_t atClose = Sim->RequestCount();
    CalForm->close();
    EXPECT_TRUE(Form1->isEnabled());
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_EQ(NextFrame(atClose), (TFrame{0xC0, 0x04, 0x26, 0x15}));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(SensorSetup, AutomaticReadWaitsOutALiveAnswerStillOnItsWay) {
    TTestDevice device(PortDir, 2);
    PressOpen(2);
    device.Write({0x00}); // the link is up; the live requests stay unanswered
    ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked() && Lambda_request; }, 500));
    device.ReadAll();
    Form1->Calibration1->trigger();
    // The answer to the last poll lands just after the dialog took over.
    device.Write({0xC0, 0x08, 0x26, 0xE8, 0x03, 0x00, 0xC8, 0x00});
    TFrame sent;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const TFrame more = device.ReadAll();
            sent.insert(sent.end(), more.begin(), more.end());
            return sent.size() >= 6;
        },
        500));
    EXPECT_EQ(sent, (TFrame{0xC0, 0x06, 0x60, 0x00, 0x05, 0xD4}));
    // Cal rich 1100, lean 1000, version 12.
    device.Write({0xC0, 0x0B, 0x60, 0x00, 0x05, 0x04, 0x4C, 0x03, 0xE8, 0x0C, 0x00});
    ASSERT_TRUE(WaitUntil(CalReadDone, 500));
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 4971);
    EXPECT_EQ(CalForm->VersionText->text(), "V1.2");
}

TEST_F(SensorSetup, ShownBeforeAnyByteArrivedSendsNothingAndKeepsTheField) {
    TTestDevice device(PortDir, 2);
    PressOpen(2);
    ASSERT_FALSE(Form1->ONLINE->Checked());
    CalForm->ResistanceEdit1->SetValue(5000);
    Show(Form1->Calibration1, CalForm);
    EXPECT_FALSE(Form1->Timer1->Enabled());
    device.ReadAll(); // live requests from before the dialog took over
    Pump(350);
    EXPECT_TRUE(device.ReadAll().empty());
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 5000);
    EXPECT_FALSE(CALrequest);
    EXPECT_FALSE(CalForm->ProgressBar1->isVisible());

    CalForm->close();
    ASSERT_TRUE(WaitUntil([&device] { return !device.ReadAll().empty(); }, 500));
}

TEST_F(SensorSetup, WritesTheCalValueForTheEnteredResistance) {
    StartOnline();
    Show(Form1->Calibration1, CalForm);
    ASSERT_TRUE(WaitUntil(CalReadDone, 1000));

    // 19000 ohms: 1144.5 rounds to the even 1144.
    size_t from = Sim->RequestCount();
    CalForm->ResistanceEdit1->SetValue(19000);
    CalForm->WriteButton2->click();
    EXPECT_EQ(NextFrame(from),
              (TFrame{0xC0, 0x0A, 0x62, 0x00, 0x04, 0x04, 0x78, 0x04, 0x78, 0xD7}));
    ASSERT_TRUE(WaitUntil([this] { return Sim->CalLean() == 1144; }, 500));
    EXPECT_EQ(Sim->CalRich(), 1144);
    EXPECT_EQ(Form1->Cell(2, 15), "1144");
    EXPECT_FALSE(CALrequest); // the answer to a write is never decoded
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 19000);

    // Typed but not yet entered: the click takes the typed text, as leaving the field does.
    from = Sim->RequestCount();
    CalForm->ResistanceEdit1->setFocus();
    CalForm->ResistanceEdit1->selectAll();
    QTest::keyClicks(CalForm->ResistanceEdit1, "1000");
    CalForm->WriteButton2->click();
    EXPECT_EQ(NextFrame(from),
              (TFrame{0xC0, 0x0A, 0x62, 0x00, 0x04, 0x03, 0xBF, 0x03, 0xBF, 0x4B}));
    EXPECT_EQ(Form1->Cell(2, 15), "959");
    ASSERT_TRUE(WaitUntil([this] { return Sim->CalLean() == 959; }, 500));
    Pump(50); // the controller's answer to the write is in before the read

    // Read back: 959 converts to 990 ohms, which the field holds at its lower limit.
    CalForm->ResistanceEdit1->SetValue(7000);
    CalForm->ReadButton1->click();
    ASSERT_TRUE(WaitUntil(CalReadDone, 1000));
    EXPECT_EQ(CALlean, 959);
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 1000);
    EXPECT_EQ(Text(CalForm->ResistanceEdit1), "1000");
    EXPECT_TRUE(Errors.empty());
}

TEST_F(SensorSetup, TextThatIsNoNumberIsNotWritten) {
    StartOnline();
    Show(Form1->Calibration1, CalForm);
    ASSERT_TRUE(WaitUntil(CalReadDone, 1000));
    const size_t from = Sim->RequestCount();
    CalForm->ResistanceEdit1->setText("12x4");
    CalForm->WriteButton2->click();
    Pump(150);
    EXPECT_EQ(Sim->RequestCount(), from);
    EXPECT_EQ(CalForm->ResistanceEdit1->State(), esError);
    EXPECT_GE(Beeps, 1);
}

TEST_F(SensorSetup, StoredCalLeanShowsItsResistanceWithinTheFieldLimits) {
    StartOnline();
    Show(Form1->Calibration1, CalForm);
    ASSERT_TRUE(WaitUntil(CalReadDone, 1000));
    const std::pair<uint16_t, double> cases[] = {{960, 1087},   {1154, 19922}, {959, 1000},
                                                 {1155, 20000}, {0, 1000},     {65535, 20000}};
    for (const auto& [cal, ohms] : cases) {
        Sim->SetCalLean(cal);
        CalForm->ReadButton1->click();
        ASSERT_TRUE(WaitUntil(CalReadDone, 1000)) << cal;
        EXPECT_EQ(CalForm->ResistanceEdit1->Value(), ohms) << cal;
    }
}

TEST_F(SensorSetup, ReplyArrivingAfterCloseIsNotDecodedAndIsPurgedByTheNextTick) {
    TTestDevice device(PortDir, 2);
    PressOpen(2);
    Show(Form1->Calibration1, CalForm);
    device.ReadAll();
    CalForm->ReadButton1->click();
    Pump(50);
    EXPECT_EQ(device.ReadAll(), (TFrame{0xC0, 0x06, 0x60, 0x00, 0x05, 0xD4}));
    CalForm->close();
    ASSERT_TRUE(Form1->Timer1->Enabled());
    // The late answer: cal 1000 (4971 ohms), version 12.
    device.Write({0xC0, 0x0B, 0x60, 0x00, 0x05, 0x03, 0xE8, 0x03, 0xE8, 0x0C, 0x00});
    ASSERT_TRUE(WaitUntil([] { return Form1->Cell(0, 15) == "11"; }, 500));
    EXPECT_EQ(Form1->VaComm1->ReadBufUsed(), 0);
    EXPECT_TRUE(CALrequest);
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 1000);
    EXPECT_EQ(CalForm->VersionText->text(), "***");
}

TEST_F(SensorSetup, ProgressBarShowsForOneSecondFromTheFirstClick) {
    StartOnline();
    Show(Form1->Calibration1, CalForm);
    ASSERT_TRUE(WaitUntil(CalReadDone, 1000));
    ASSERT_TRUE(WaitUntil([] { return !CalForm->ProgressBar1->isVisible(); }, 1500));

    QElapsedTimer clock;
    clock.start();
    CalForm->ReadButton1->click();
    EXPECT_TRUE(CalForm->ProgressBar1->isVisible());
    EXPECT_EQ(CalForm->ProgressBar1->value(), 100);
    Pump(500);
    CalForm->WriteButton2->click(); // does not extend the cue
    EXPECT_TRUE(CalForm->ProgressBar1->isVisible());
    ASSERT_TRUE(WaitUntil([] { return !CalForm->ProgressBar1->isVisible(); }, 2000));
    EXPECT_GE(clock.elapsed(), 800);
    EXPECT_LE(clock.elapsed(), 1250);
    EXPECT_FALSE(CalForm->Timer1->Enabled());
}

TEST_F(SensorSetup, OnlyAReturnFromAnotherWindowOfTheProgramEmptiesTheReceiveBuffer) {
    TTestDevice device(PortDir, 2);
    PressOpen(2);
    Show(Form1->Calibration1, CalForm);
    CalForm->ReadButton1->click();
    device.Write({0xC0, 0x0B, 0x60, 0x00, 0x05}); // the first half of the answer
    ASSERT_TRUE(WaitUntil([] { return Form1->VaComm1->ReadBufUsed() == 5; }, 500));

    // The user glances at another application and comes back while the rest arrives.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(CalForm);
    device.Write({0x03, 0xE8, 0x03, 0xE8, 0x0C});
    ASSERT_TRUE(WaitUntil(CalReadDone, 500));
    EXPECT_EQ(CalForm->VersionText->text(), "V1.2");

    // Back from another window of the program: the activation step runs again.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(WaitUntil([&other] { return QApplication::activeWindow() == &other; }, 500));
    Form1->setEnabled(true);
    device.Write({0x01, 0x02});
    ASSERT_TRUE(WaitUntil([] { return Form1->VaComm1->ReadBufUsed() == 2; }, 500));
    CalForm->activateWindow();
    ASSERT_TRUE(WaitUntil([] { return QApplication::activeWindow() == CalForm; }, 500));
    EXPECT_EQ(Form1->VaComm1->ReadBufUsed(), 0);
    EXPECT_FALSE(Form1->isEnabled());
}
