// The Com Port dialog: device line, opening and re-opening, activation and closing rules.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "dialogs/ComPortDialog.h"
#include "dialogs/PortDescription.h"
#include "dialogs/PortSpinEdit.h"
#include "dialogs/TextFit.h"
#include "monitor/MainWindow.h"
#include "platform/QtTimer.h"
#include "serial/VaComm.h"
#include "tests/monitor/UiHarness.h"
#include "tests/support/QtTestApp.h"
#include "widgets/AbLED.h"
#include "widgets/AbSwitch.h"

// <sys/ioctl.h> cannot be mixed with <asm/termbits.h>; the prototype is all that is needed.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

using ComPortDialog = UiHarness;

TEST_F(ComPortDialog, LayoutAndDeviceLineFollowTheNumber) {
    StartSimulator(1);
    EXPECT_EQ(ComPortForm->windowTitle(), "Com Port");
    EXPECT_EQ(ComPortForm->size(), QSize(323, 167));
    EXPECT_EQ(ComPortForm->SpinEdit2->value(), 1);
    EXPECT_EQ(ComPortForm->SpinEdit2->minimum(), 1);
    EXPECT_EQ(ComPortForm->SpinEdit2->maximum(), 255);
    EXPECT_EQ(ComPortForm->Button1->text(), "Open");
    EXPECT_EQ(ComPortForm->Button1->geometry(), QRect(114, 64, 75, 25));
    EXPECT_FALSE(ComPortForm->AbLED2->Checked());

    Form1->ComPort1->trigger();
    ASSERT_TRUE(WaitUntil([] { return ComPortForm->isVisible(); }, 1000));
    EXPECT_EQ(ComPortForm->DeviceText->text().toStdString(), "COM1 = " + Sim->SlavePath());
    ComPortForm->SpinEdit2->setValue(3);
    EXPECT_EQ(ComPortForm->DeviceText->text(), "COM3: no such device");
    // Modeless, a window of its own, not a child of the main window.
    EXPECT_FALSE(ComPortForm->isModal());
    EXPECT_EQ(ComPortForm->parentWidget(), nullptr);
    ComPortForm->close();
}

TEST_F(ComPortDialog, ActivationDisablesTheMainWindowAndClosingEnablesIt) {
    Form1->ComPort1->trigger();
    ASSERT_TRUE(WaitUntil([] { return !Form1->isEnabled(); }, 1000));
    EXPECT_TRUE(ComPortForm->isEnabled());
    ComPortForm->close();
    EXPECT_TRUE(Form1->isEnabled());
    EXPECT_FALSE(ComPortForm->isVisible());
}

TEST_F(ComPortDialog, ReopenWhilePollingKeepsTheTimerAndClosingWithoutPortDisablesItems) {
    StartSimulator(1);
    PressOpen(1);
    ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked(); }, 1000));
    PressOpen(1); // same port again: closed, then opened
    EXPECT_TRUE(Form1->VaComm1->Active());
    EXPECT_TRUE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_TRUE(Errors.empty());

    // A failed re-open leaves the port closed, the lamp out and the switch as it was.
    PressOpen(9);
    EXPECT_EQ(Errors.size(), 1u);
    EXPECT_FALSE(Form1->VaComm1->Active());
    EXPECT_FALSE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(Form1->AbToggleSwitch1->Checked());
    EXPECT_TRUE(Form1->Calibration1->isEnabled());
    // Closing the dialog with the port closed disables the setup items at once.
    ComPortForm->close();
    EXPECT_FALSE(Form1->Calibration1->isEnabled());
    EXPECT_FALSE(Form1->CANSetup1->isEnabled());
}

TEST_F(ComPortDialog, PortFieldShowsTheNumberOpenUses) {
    Form1->ComPort1->trigger();
    ASSERT_TRUE(WaitUntil([] { return QApplication::activeWindow() == ComPortForm; }, 1000));
    QSpinBox* field = ComPortForm->SpinEdit2;
    const auto type = [field](const char* text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    };
    const auto leave = [] { ComPortForm->Button1->setFocus(); };
    const std::pair<const char*, int> cases[] = {{"300", 255}, {"0", 1}, {"", 1}, {"ab", 1}};
    for (const auto& [typed, shown] : cases) {
        type("7");
        leave();
        type(typed);
        leave();
        EXPECT_EQ(field->text().toStdString(), std::to_string(shown)) << typed;
        EXPECT_EQ(field->value(), shown) << typed;
    }
    // "Open" right after typing uses the number the field then shows.
    type("300");
    ComPortForm->Button1->click();
    EXPECT_EQ(Form1->VaComm1->PortNum(), 255);
    EXPECT_EQ(field->text().toStdString(), "255");
    EXPECT_EQ(ComPortForm->DeviceText->text(), "COM255: no such device");
    ComPortForm->close();
}

TEST_F(ComPortDialog, OpenSetsTheLineTo19200EightNoneOneRawWithoutFlowControl) {
    TTestDevice device(PortDir, 2);
    // The line starts out as unlike the controller's as it can be.
    termios2 line{};
    ASSERT_EQ(ioctl(device.Fd(), TCGETS2, &line), 0);
    line.c_cflag = (line.c_cflag & ~(CBAUD | CIBAUD | CSIZE)) | BOTHER | (BOTHER << IBSHIFT) | CS7 |
                   PARENB | PARODD | CSTOPB | CRTSCTS;
    line.c_ispeed = line.c_ospeed = 9600;
    line.c_iflag |= IXON | IXOFF | ICRNL | INLCR | ISTRIP | INPCK;
    line.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    line.c_oflag |= OPOST;
    ASSERT_EQ(ioctl(device.Fd(), TCSETS2, &line), 0);

    PressOpen(2);
    ASSERT_TRUE(Errors.empty()) << Errors.front();
    ASSERT_EQ(ioctl(device.Fd(), TCGETS2, &line), 0);
    EXPECT_EQ(line.c_ospeed, 19200u);
    EXPECT_EQ(line.c_ispeed, 19200u);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
}

TEST(PortDescription, PermissionErrorsGetAnAccessHint) {
    EXPECT_TRUE(
        IsPermissionError("Can't open specified device COM1 (Error 13, Permission denied)"));
    EXPECT_FALSE(IsPermissionError("Specified device not found (COM1)."));
    const std::string hint = AccessHint("/dev/null");
    EXPECT_NE(hint.find("group"), std::string::npos);
    EXPECT_NE(hint.find("log"), std::string::npos);
    // A device owned by root alone points at the usual serial group.
    EXPECT_NE(AccessHint("/no/such/device").find("dialout"), std::string::npos);
}

// Whatever is typed, the field stands for one port number, the one "Open" uses.
TEST(PortSpinEdit, EveryTextStandsForOnePortNumber) {
    const std::pair<const char*, int> cases[] = {
        {"7", 7},
        {"+7", 7},
        {"007", 7},
        {" 12 ", 12},
        {"255", 255},
        {"256", 255},
        {"-5", 1},
        {"-0", 1},
        {"0", 1},
        {"", 1},
        {"ab", 1},
        {"1e3", 1},
        {"7a", 1},
        {"99999999999", 255},
        {"-99999999999", 1},
    };
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(PortNumberFromText(text), number) << '"' << text << '"';
    }
}

// A field whose font shrank for one long reading takes its own size again for a short one.
TEST(TextFit, AFieldFontShrunkForALongTextGrowsBack) {
    TestApp();
    QLineEdit field;
    QFont font = field.font();
    font.setPixelSize(30);
    field.setFont(font);
    field.resize(QFontMetrics(font).horizontalAdvance("0.987") + 30, 44);
    KeepTextWithinField(&field);
    field.setText("0.987");
    EXPECT_EQ(field.font().pixelSize(), 30);
    field.setText("12345678901234567890");
    EXPECT_LT(field.font().pixelSize(), 30);
    field.setText("0.987");
    EXPECT_EQ(field.font().pixelSize(), 30);
}

namespace {
// The line settings of a test device's line, as the kernel holds them.
termios2 LineOf(const TTestDevice& device) {
    termios2 line{};
    ioctl(device.Fd(), TCGETS2, &line);
    return line;
}
bool SameLine(const termios2& a, const termios2& b) {
    return a.c_cflag == b.c_cflag && a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag &&
           a.c_lflag == b.c_lflag && a.c_ispeed == b.c_ispeed && a.c_ospeed == b.c_ospeed;
}
} // namespace

// "Find" tries the ports one at a time, skips one that another program holds, opens the one
// where the controller answers, and leaves every other as it found it.
TEST_F(ComPortDialog, FindOpensThePortWhereTheControllerAnswers) {
    TTestDevice silent(PortDir, 1);
    termios2 line = LineOf(silent);
    line.c_cflag = (line.c_cflag & ~(CBAUD | CSIZE)) | BOTHER | CS7 | PARENB;
    line.c_ispeed = line.c_ospeed = 9600;
    ASSERT_EQ(ioctl(silent.Fd(), TCSETS2, &line), 0);
    const termios2 before = LineOf(silent);
    TTestDevice held(PortDir, 2);
    char node[256] = {};
    ASSERT_GT(::readlink((PortDir + "/COM2").c_str(), node, sizeof node - 1), 0);
    const int holder = ::open(node, O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    StartSimulator(3);
    Form1->ComPort1->trigger();
    ASSERT_TRUE(WaitUntil([] { return ComPortForm->isVisible(); }, 1000));
    EXPECT_EQ(ComPortForm->FindButton->geometry(), QRect(200, 64, 75, 25));
    EXPECT_EQ(ComPortForm->Button1->geometry(), QRect(114, 64, 75, 25));

    ComPortForm->FindButton->click();
    EXPECT_EQ(ComPortForm->DeviceText->text().toStdString(),
              "COM3 = " + Sim->SlavePath() + ": controller found");
    EXPECT_EQ(ComPortForm->SpinEdit2->value(), 3);
    EXPECT_TRUE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(WaitUntil(Online, 2000));
    EXPECT_EQ(silent.ReadAll(), (std::vector<uint8_t>{0xC0, 0x04, 0x26, 0x15}));
    EXPECT_TRUE(SameLine(LineOf(silent), before)) << "the silent port's settings were changed";
    EXPECT_TRUE(held.ReadAll().empty());

    Sim->Stop();
    ComPortForm->FindButton->click();
    EXPECT_EQ(ComPortForm->DeviceText->text(),
              "No controller answered on COM1; skipped, held by another program: COM2.");
    EXPECT_FALSE(Form1->VaComm1->Active());
    EXPECT_FALSE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(Errors.empty()) << Errors.front();
    ComPortForm->close();
    ::close(holder);
}
