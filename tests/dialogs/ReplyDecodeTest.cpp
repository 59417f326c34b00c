// Calibration and CAN replies decoded by the main window into the setup dialogs' fields.
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>

#include "dialogs/CanSetupDialog.h"
#include "dialogs/SensorSetupDialog.h"
#include "monitor/MainWindow.h"
#include "platform/QtTimer.h"
#include "protocol/Requests.h"
#include "serial/VaComm.h"
#include "tests/monitor/UiHarness.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbSwitch.h"

using namespace std::chrono_literals;

class ReplyDecode : public UiHarness {
protected:
    // Port open, polling stopped as a setup dialog stops it.
    void OpenQuiet(int port) {
        PressOpen(port);
        Form1->AbToggleSwitch1->SetChecked(false);
        ASSERT_FALSE(Form1->Timer1->Enabled());
        Pump(150);
        Form1->VaComm1->PurgeRead();
    }
    void Send(void (*request)(const TByteSink&)) {
        request([](uint8_t b) { Form1->Sendbyte(b); });
    }
    // Marks the reply as expected, sends the read and waits until the dispatcher took it.
    bool Exchange(bool& expected, void (*request)(const TByteSink&)) {
        expected = true;
        Send(request);
        return WaitUntil([&expected] { return !expected; }, 1000);
    }
};

TEST_F(ReplyDecode, CalibrationReplyFillsResistanceAndVersion) {
    TSimConfig config;
    config.Cal = 1000;
    config.Firmware = 12;
    StartSimulator(1, config);
    OpenQuiet(1);
    ASSERT_TRUE(Exchange(CALrequest, SendCalibrationRead));
    EXPECT_EQ(CALlean, 1000);
    EXPECT_EQ(CALrich, 1000);
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 4971);
    EXPECT_EQ(CalForm->VersionText->text(), "V1.2");
    EXPECT_EQ(FirmwareVersion, 12);
    EXPECT_EQ(Form1->Cell(1, 13), "1000");
    EXPECT_EQ(Form1->Cell(1, 15), "12");
}

TEST_F(ReplyDecode, CalibrationReplyIsIgnoredWhilePolling) {
    StartSimulator(1);
    PressOpen(1);
    CALrequest = true;
    Send(SendCalibrationRead);
    Pump(300);
    EXPECT_TRUE(CALrequest);
    EXPECT_EQ(CalForm->VersionText->text(), "***");
}

TEST_F(ReplyDecode, CalibrationReplyIsDecodedOnlyWhenItsTenthByteIsIn) {
    TTestDevice device(PortDir, 2);
    OpenQuiet(2);
    CALrequest = true;
    // Cal 1000 (4971 ohms); the version byte comes a moment later.
    device.Write({0xC0, 0x0B, 0x60, 0x00, 0x05, 0x03, 0xE8, 0x03, 0xE8});
    ASSERT_TRUE(WaitUntil([] { return Form1->VaComm1->ReadBufUsed() == 9; }, 500));
    Pump(50);
    EXPECT_TRUE(CALrequest);
    EXPECT_EQ(CalForm->VersionText->text(), "***");
    device.Write({0x0C});
    ASSERT_TRUE(WaitUntil([] { return !CALrequest; }, 500));
    EXPECT_EQ(CalForm->VersionText->text(), "V1.2");
    EXPECT_EQ(CalForm->ResistanceEdit1->Value(), 4971);
}

TEST_F(ReplyDecode, CanReplyOfEightBytesWaitsForTheNinth) {
    TTestDevice device(PortDir, 2);
    OpenQuiet(2);
    CANrequest = true;
    // Address 0x123, code 3 (250 Kbps).
    device.Write({0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0x01, 0x23, 0x03});
    ASSERT_TRUE(WaitUntil([] { return Form1->VaComm1->ReadBufUsed() == 8; }, 500));
    Pump(50);
    EXPECT_TRUE(CANrequest);
    device.Write({0x77});
    ASSERT_TRUE(WaitUntil([] { return !CANrequest; }, 500));
    EXPECT_EQ(CANaddress, 0x123);
    EXPECT_EQ(CANform->CANAbNumEdit2->Value(), 291);
    EXPECT_EQ(CANspeed, 3);
    EXPECT_TRUE(CANform->RadioButton3->isChecked());
    EXPECT_EQ(Form1->VaComm1->ReadBufUsed(), 1);
    EXPECT_EQ(Form1->Cell(2, 10), "291");
    EXPECT_EQ(Form1->Cell(2, 11), "3");
}

TEST_F(ReplyDecode, UnknownCanCodeChangesNoButton) {
    TSimConfig config;
    config.CanSpeed = 9;
    config.CanAddress = 2046;
    StartSimulator(1, config);
    OpenQuiet(1);
    ASSERT_TRUE(Exchange(CANrequest, SendCanRead));
    EXPECT_TRUE(CANform->RadioButton1->isChecked());
    EXPECT_EQ(CANform->CANAbNumEdit2->Value(), 2046);

    Sim->SetCanSpeed(2);
    Form1->VaComm1->PurgeRead();
    ASSERT_TRUE(Exchange(CANrequest, SendCanRead));
    EXPECT_EQ(CANspeed, 2);
    EXPECT_TRUE(CANform->RadioButton1->isChecked());
}
