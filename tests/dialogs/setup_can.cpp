// CAN Setup: layout, writes byte for byte with the chosen or read bit-rate code, the field's
// upper limit, reads through the dialog's button, the power-cycle note after every write, and
// polling stopped while the dialog is up.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "setup_fixture.h"
#include "widgets/AbSwitch.h"

using CanSetup = SetupDialogs;

namespace {
bool CanReadDone() {
    return !CANrequest;
}
std::vector<QRadioButton*> SpeedButtons() {
    return {CANform->RadioButton1, CANform->RadioButton2, CANform->RadioButton3,
            CANform->RadioButton4, CANform->RadioButton5};
}
bool RadioGroup1Encloses(QWidget* w) {
    return CANform->RadioGroup1->geometry().contains(w->geometry());
}
int CheckedCount() {
    int n = 0;
    for (QRadioButton* b : SpeedButtons()) {
        n += b->isChecked();
    }
    return n;
}
} // namespace

TEST_F(CanSetup, TextsAndNothingChosenAtStart) {
    EXPECT_EQ(CANform->windowTitle(), "CAN Setup");
    EXPECT_EQ(CANform->size(), QSize(353, 242));
    EXPECT_EQ(CANform->CANAbNumEdit2->MaxValue(), 2046);
    EXPECT_EQ(CANform->StaticText1->text(), "11 bit CAN address (0-2046)");
    EXPECT_EQ(CANform->Button1->text(), "Read CAN data");
    EXPECT_EQ(CANform->Button2->text(), "Write CAN data");
    EXPECT_EQ(CANform->RadioGroup1->title(), "CAN Bus Speed");
    EXPECT_EQ(CANform->StaticText2->text(), "Note: CAN only supported on WBX4100C");
    const char* captions[] = {"100 Kbps", "125 Kbps", "250 Kbps", "500 Kbps", "1 Mbps"};
    for (int i = 0; i < 5; ++i) {
        QRadioButton* b = SpeedButtons()[i];
        EXPECT_EQ(b->text(), captions[i]);
        // The window's own controls lying over the frame, not the frame's children.
        EXPECT_EQ(b->parentWidget(), CANform);
        EXPECT_TRUE(RadioGroup1Encloses(b));
    }
    EXPECT_EQ(CheckedCount(), 0);
    EXPECT_EQ(CANspeed, 0);
}

TEST_F(CanSetup, WritesAddressAndChosenSpeedThenShowsTheNoteEveryTime) {
    StartOnline();
    CALrequest = true;
    CANrequest = true;
    const size_t shown = Sim->RequestCount();
    Show(Form1->CANSetup1, CANform);
    EXPECT_FALSE(CALrequest);
    EXPECT_FALSE(CANrequest);
    EXPECT_FALSE(CANform->ProgressBar2->isVisible());
    EXPECT_FALSE(Form1->Timer1->Enabled());
    Pump(250);
    EXPECT_EQ(CountCommand(shown + 1, CmdLiveData), 0u); // no automatic read, no polling

    // Nothing read or clicked: code 0.
    size_t from = Sim->RequestCount();
    CANform->Button2->click();
    EXPECT_EQ(NextFrame(from), (TFrame{0xC0, 0x09, 0x62, 0x0A, 0x03, 0x00, 0x00, 0x00, 0xC7}));
    ASSERT_EQ(Notes.size(), 1u);
    EXPECT_EQ(Notes[0], "NOTE: Uego controller power must be cycled if CAN values changed");
    EXPECT_TRUE(CANform->ProgressBar2->isVisible());

    from = Sim->RequestCount();
    CANform->CANAbNumEdit2->SetValue(2046);
    QTest::mouseClick(CANform->RadioButton1, Qt::LeftButton);
    EXPECT_EQ(CANspeed, 9);
    CANform->Button2->click();
    EXPECT_EQ(NextFrame(from), (TFrame{0xC0, 0x09, 0x62, 0x0A, 0x03, 0x07, 0xFE, 0x09, 0xB9}));

    from = Sim->RequestCount();
    CANform->CANAbNumEdit2->SetValue(256);
    QTest::mouseClick(CANform->RadioButton3, Qt::LeftButton);
    EXPECT_EQ(CheckedCount(), 1);
    CANform->Button2->click();
    EXPECT_EQ(NextFrame(from), (TFrame{0xC0, 0x09, 0x62, 0x0A, 0x03, 0x01, 0x00, 0x03, 0xC3}));
    ASSERT_TRUE(WaitUntil([this] { return Sim->CanAddress() == 256; }, 500));
    EXPECT_EQ(Sim->CanSpeed(), 3);

    // Typed above the limit: brought down to 2046 before it goes out.
    from = Sim->RequestCount();
    CANform->CANAbNumEdit2->setFocus();
    CANform->CANAbNumEdit2->selectAll();
    QTest::keyClicks(CANform->CANAbNumEdit2, "3000");
    CANform->Button2->click();
    EXPECT_EQ(NextFrame(from), (TFrame{0xC0, 0x09, 0x62, 0x0A, 0x03, 0x07, 0xFE, 0x03, 0xBF}));
    EXPECT_EQ(Text(CANform->CANAbNumEdit2), "2046");
    // Unchanged values still bring the note.
    from = Sim->RequestCount();
    CANform->Button2->click();
    EXPECT_EQ(NextFrame(from), (TFrame{0xC0, 0x09, 0x62, 0x0A, 0x03, 0x07, 0xFE, 0x03, 0xBF}));
    EXPECT_EQ(Notes.size(), 5u);
    EXPECT_FALSE(CANrequest);
    EXPECT_EQ(CountCommand(shown + 1, CmdLiveData), 0u);

    const size_t atClose = Sim->RequestCount();
    CANform->close();
    EXPECT_TRUE(Form1->isEnabled());
    EXPECT_EQ(NextFrame(atClose), (TFrame{0xC0, 0x04, 0x26, 0x15}));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(CanSetup, EverySpeedButtonWritesItsCode) {
    StartOnline();
    Show(Form1->CANSetup1, CANform);
    const uint8_t codes[] = {9, 7, 3, 1, 0};
    for (size_t i = 0; i < 5; ++i) {
        QRadioButton* button = SpeedButtons()[i];
        QTest::mouseClick(button, Qt::LeftButton);
        const size_t from = Sim->RequestCount();
        CANform->Button2->click();
        const TFrame frame = NextFrame(from);
        ASSERT_EQ(frame.size(), 9u) << button->text().toStdString();
        EXPECT_EQ(frame[7], codes[i]) << button->text().toStdString();
    }
}

TEST_F(CanSetup, AddressThatIsNoNumberSendsNothingAndShowsNoNote) {
    StartOnline();
    Show(Form1->CANSetup1, CANform);
    const size_t from = Sim->RequestCount();
    CANform->CANAbNumEdit2->setText("12x4");
    CANform->Button2->click();
    Pump(150);
    EXPECT_EQ(Sim->RequestCount(), from);
    EXPECT_TRUE(Notes.empty());
    // The field's own rule: red, a beep, the bad character selected.
    EXPECT_EQ(CANform->CANAbNumEdit2->State(), esError);
    EXPECT_EQ(CANform->CANAbNumEdit2->selectedText(), "x");
    EXPECT_GE(Beeps, 1);
}

TEST_F(CanSetup, ReadFillsAddressAndSpeedAndAnUnknownCodeIsSentBack) {
    TSimConfig config;
    config.CanAddress = 0x123;
    config.CanSpeed = 7;
    StartOnline(config);
    Show(Form1->CANSetup1, CANform);
    size_t from = Sim->RequestCount();
    CANform->Button1->click();
    EXPECT_TRUE(CANform->ProgressBar2->isVisible());
    EXPECT_EQ(NextFrame(from), (TFrame{0xC0, 0x06, 0x60, 0x0A, 0x03, 0xCC}));
    ASSERT_TRUE(WaitUntil(CanReadDone, 1000));
    EXPECT_EQ(CANform->CANAbNumEdit2->Value(), 0x123);
    EXPECT_TRUE(CANform->RadioButton2->isChecked());
    EXPECT_EQ(CheckedCount(), 1);

    // Code 2 and an address beyond the field's range.
    Sim->SetCanSpeed(2);
    Sim->SetCanAddress(2047);
    CANform->Button1->click();
    ASSERT_TRUE(WaitUntil(CanReadDone, 1000));
    EXPECT_EQ(CANspeed, 2);
    EXPECT_TRUE(CANform->RadioButton2->isChecked()); // no button for code 2
    EXPECT_EQ(CANform->CANAbNumEdit2->Value(), 2046);

    from = Sim->RequestCount();
    CANform->Button2->click();
    EXPECT_EQ(NextFrame(from), (TFrame{0xC0, 0x09, 0x62, 0x0A, 0x03, 0x07, 0xFE, 0x02, 0xC0}));
    CANform->close();
}

TEST_F(CanSetup, ReplyOfEightBytesWaitsForTheNinth) {
    TTestDevice device(PortDir, 2);
    PressOpen(2);
    Show(Form1->CANSetup1, CANform);
    device.ReadAll();
    CANform->Button1->click();
    Pump(50);
    EXPECT_EQ(device.ReadAll(), (TFrame{0xC0, 0x06, 0x60, 0x0A, 0x03, 0xCC}));
    // Address 0x7FE, code 1 (500 Kbps), without the closing byte.
    device.Write({0xC0, 0x09, 0x60, 0x0A, 0x03, 0x07, 0xFE, 0x01});
    ASSERT_TRUE(WaitUntil([] { return Form1->VaComm1->ReadBufUsed() == 8; }, 500));
    Pump(100);
    EXPECT_TRUE(CANrequest);
    EXPECT_EQ(CANform->CANAbNumEdit2->Value(), 0);
    device.Write({0x2E});
    ASSERT_TRUE(WaitUntil(CanReadDone, 500));
    EXPECT_EQ(CANform->CANAbNumEdit2->Value(), 2046);
    EXPECT_TRUE(CANform->RadioButton4->isChecked());
    EXPECT_EQ(CANspeed, 1);
}

TEST_F(CanSetup, NoteIsAModalBoxAndTheProgressCueEndsWhileItIsOpen) {
    TCANform::SetNoteDisplay({}); // the real message box
    StartOnline();
    Show(Form1->CANSetup1, CANform);
    QString boxText;
    bool barVisibleAtAnswer = true;
    bool boxModal = false;
    QTimer::singleShot(1300, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        boxText = box->text();
        boxModal = box->isModal();
        barVisibleAtAnswer = CANform->ProgressBar2->isVisible();
        box->button(QMessageBox::Ok)->click();
    });
    const size_t from = Sim->RequestCount();
    CANform->Button2->click(); // returns once the box is answered
    EXPECT_EQ(boxText, "NOTE: Uego controller power must be cycled if CAN values changed");
    EXPECT_TRUE(boxModal);
    EXPECT_FALSE(barVisibleAtAnswer);
    EXPECT_EQ(CountCommand(from, CmdMemoryWrite), 1u);
    CANform->close();
}
