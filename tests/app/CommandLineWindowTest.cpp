// Port and log given on the command line, applied to the real windows: no click needed, and
// a failure handled as the same failure by hand. Also the window's icon.
#include <QIcon>
#include <QLabel>
#include <QSpinBox>
#include <fstream>

#include "app/AppIcon.h"
#include "app/CommandLineActions.h"
#include "dialogs/ComPortDialog.h"
#include "monitor/MainWindow.h"
#include "serial/VaComm.h"
#include "tests/monitor/UiHarness.h"
#include "widgets/AbLED.h"

using CommandLineWindow = UiHarness;

TEST_F(CommandLineWindow, PortAndLogLightOnlineAndDiskLogWithNoClick) {
    StartSimulator(3);
    TCommandLine commandLine;
    commandLine.PortNumber = 3;
    commandLine.LogFile = TempPath("started.txt");
    ApplyCommandLine(commandLine);
    EXPECT_EQ(ComPortForm->SpinEdit2->value(), 3);
    EXPECT_TRUE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(Form1->DiskLED->Checked());
    EXPECT_EQ(Form1->StaticText2->text().toStdString(), commandLine.LogFile);
    ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked(); }, 2000));
    // Readings reach the log.
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(commandLine.LogFile).size() > 60; }, 2000));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(CommandLineWindow, DevicePathKeepsTheNumberForTheNextOpen) {
    StartSimulator(1);
    ComPortForm->SpinEdit2->setValue(4);
    TCommandLine commandLine;
    commandLine.PortPath = Sim->SlavePath();
    ApplyCommandLine(commandLine);
    ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked(); }, 2000));
    EXPECT_EQ(ComPortForm->SpinEdit2->value(), 4);
    // "Open" by hand goes back to the numbered port, not the path.
    PressOpen(2);
    EXPECT_EQ(Errors, std::vector<std::string>{"Specified device not found (COM2)."});
    EXPECT_FALSE(Form1->VaComm1->Active());
}

TEST_F(CommandLineWindow, FailingPortShowsItsMessageAndTheLogStillStarts) {
    TCommandLine commandLine;
    commandLine.PortNumber = 9;
    commandLine.LogFile = TempPath("waiting.txt");
    ApplyCommandLine(commandLine);
    EXPECT_EQ(Errors, std::vector<std::string>{"Specified device not found (COM9)."});
    EXPECT_FALSE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(Form1->DiskLED->Checked());
    EXPECT_TRUE(Form1->isEnabled());
}

// The log file appeared after the start (another program made it, or it came while a message
// box was up): it is kept whole, and the user is told in the usual box.
TEST_F(CommandLineWindow, ALogFileThatAppearedSinceTheStartIsKeptWhole) {
    TCommandLine commandLine;
    commandLine.PortNumber = 9;
    commandLine.LogFile = TempPath("appeared.txt");
    { std::ofstream(commandLine.LogFile) << "another program's readings\r\n"; }
    ApplyCommandLine(commandLine);
    EXPECT_EQ(ReadWholeFile(commandLine.LogFile), "another program's readings\r\n");
    ASSERT_EQ(Errors.size(), 2u);
    EXPECT_EQ(Errors[1], LogExistsMessage(commandLine.LogFile));
    EXPECT_FALSE(Form1->DiskLED->Checked());
}

TEST(CommandLine, PortNumbersFromOneTo255AndDevicePathsAreTaken) {
    const std::pair<const char*, int> cases[] = {{"1", 1},    {"255", 255}, {"COM255", 255},
                                                 {"256", -1}, {"0", -1},    {"COM0", -1}};
    for (const auto& [value, number] : cases) {
        TCommandLine commandLine;
        QString error;
        const bool taken = ParseCommandLine({"--port", value}, commandLine, error);
        EXPECT_EQ(taken, number > 0) << value << ": " << error.toStdString();
        EXPECT_EQ(commandLine.PortNumber, std::max(number, 0)) << value;
    }
}

TEST_F(CommandLineWindow, IconIsBuiltInFromSmallToLarge) {
    const QList<QSize> sizes = ApplicationIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));
    EXPECT_TRUE(sizes.contains(QSize(256, 256)));
}
