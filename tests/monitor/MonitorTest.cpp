// The main window against a simulated controller: polling, link watchdog, live display,
// faults on the line, and the end of the program.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "UiHarness.h"
#include "dialogs/ComPortDialog.h"
#include "monitor/MainWindow.h"
#include "platform/QtTimer.h"
#include "protocol/Requests.h"
#include "serial/VaComm.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbRMeter.h"
#include "widgets/AbSwitch.h"

using namespace std::chrono_literals;

namespace {
bool SetupItemsEnabled() {
    return Form1->Calibration1->isEnabled() && Form1->CANSetup1->isEnabled();
}
bool SetupItemsDisabled() {
    return !Form1->Calibration1->isEnabled() && !Form1->CANSetup1->isEnabled();
}
double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}
} // namespace

using MainWindow = UiHarness;

TEST_F(MainWindow, StartsClosedWithSetupItemsGreyedAndNoLampLit) {
    EXPECT_EQ(Form1->windowTitle(), "UEGO 4100 Interface");
    EXPECT_TRUE(SetupItemsDisabled());
    EXPECT_TRUE(Form1->ComPort1->isEnabled());
    EXPECT_FALSE(Online());
    EXPECT_FALSE(Offline());
    EXPECT_FALSE(Form1->WarmupLED->Checked());
    EXPECT_FALSE(Form1->DiskLED->Checked());
    EXPECT_FALSE(Form1->VaComm1->Active());
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_FALSE(Form1->AbToggleSwitch1->Checked());
    EXPECT_FALSE(Form1->AbToggleSwitch1->isVisible());
    EXPECT_FALSE(Form1->StringGrid1->isVisible());
}

TEST_F(MainWindow, OpenStartsPollingAndShowsLiveValues) {
    OpenLive(0.987, 12.5);
    EXPECT_TRUE(Errors.empty()) << Errors.front();
    EXPECT_TRUE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(SetupItemsEnabled());
    EXPECT_TRUE(Form1->Timer1->Enabled());

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitUntil(Online, 1000));
    EXPECT_LT(clock.elapsed(), 300);
    ASSERT_TRUE(LambdaShows("0.987"));
    EXPECT_EQ(Text(Form1->Value1), "12.5");
    EXPECT_NEAR(Form1->Meter1->Value(), 0.987, 1e-6);
    EXPECT_FALSE(Form1->WarmupLED->Checked());

    // Ten ticks: every request is the live-data frame, about 100 ms apart.
    Sim->ClearRequests();
    ASSERT_TRUE(WaitUntil([this] { return Sim->RequestCount() >= 12; }, 3000));
    auto record = Sim->Requests();
    std::vector<double> gaps;
    for (size_t i = 0; i < record.size(); ++i) {
        EXPECT_EQ(record[i].Bytes, (std::vector<uint8_t>{0xC0, 0x04, 0x26, 0x15}));
        if (i > 0) {
            gaps.push_back(
                std::chrono::duration<double, std::milli>(record[i].Time - record[i - 1].Time)
                    .count());
        }
    }
    std::sort(gaps.begin(), gaps.end());
    EXPECT_NEAR(gaps[gaps.size() / 2], 100.0, 20.0);

    // The dial and the number follow the controller.
    Sim->SetLambda(1.2);
    ASSERT_TRUE(LambdaShows("1.20"));
    EXPECT_NEAR(Form1->Meter1->Value(), 1.2, 1e-6);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWindow, WarmUpShowsOneWhileTheLogCarriesTheMeasuredLambda) {
    TSimConfig config;
    config.Live.WarmupSeconds = 30;
    OpenLive(0.85, 13.8, config);
    ASSERT_TRUE(WaitUntil([] { return Form1->WarmupLED->Checked(); }, 1000));
    const std::string path = TempPath("warm.txt");
    StartLogTo(path);
    Pump(350);
    EXPECT_EQ(Text(Form1->Lambda1), "1.00");
    EXPECT_NEAR(Form1->Meter1->Value(), 1.0, 1e-6);
    EXPECT_DOUBLE_EQ(Lambda, 0.85);
    Form1->LogStop->click();
    const std::string log = ReadWholeFile(path);
    EXPECT_NE(log.find("\r\n0.85,"), std::string::npos) << log;
    EXPECT_EQ(log.find("\r\n1,"), std::string::npos) << log;
}

TEST_F(MainWindow, WarmUpFlagOtherThanZeroOrOneLeavesTheLampAsItIs) {
    TTestDevice device(PortDir, 2);
    PressOpen(2);
    // Lambda 0.9 (raw 900 = 03 84), warm-up flag in byte 5.
    const auto reply = [](uint8_t warmup) {
        return std::vector<uint8_t>{0, 0, 0, 0x84, 0x03, warmup, 200, 0};
    };
    ASSERT_TRUE(AnswerPoll(device, reply(1)));
    ASSERT_TRUE(AnswerPoll(device, reply(2)));
    EXPECT_TRUE(Form1->WarmupLED->Checked());
    EXPECT_EQ(Text(Form1->Lambda1), "1.00");
    EXPECT_NEAR(Form1->Meter1->Value(), 1.0, 1e-6);

    ASSERT_TRUE(AnswerPoll(device, reply(0)));
    ASSERT_TRUE(AnswerPoll(device, reply(2)));
    EXPECT_FALSE(Form1->WarmupLED->Checked());
    EXPECT_EQ(Text(Form1->Lambda1), "0.90");
}

TEST_F(MainWindow, OpenOfMissingOrBusyPortReportsAndKeepsState) {
    PressOpen(7);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("Specified device not found"), std::string::npos) << Errors[0];
    EXPECT_FALSE(ComPortForm->AbLED2->Checked());
    EXPECT_TRUE(SetupItemsDisabled());
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(ComPortForm->DeviceText->text(), "COM7: no such device");

    // A port another program holds.
    StartSimulator(2);
    TVaComm other;
    other.SetPortNum(2);
    other.Open();
    Errors.clear();
    PressOpen(2);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("Can't open specified device"), std::string::npos) << Errors[0];
    EXPECT_FALSE(ComPortForm->AbLED2->Checked());
    other.Close();
}

TEST_F(MainWindow, SilenceGoesOfflineOnTheEleventhTickAndOneByteComesBack) {
    TTestDevice device(PortDir, 3);
    PressOpen(3);
    ASSERT_TRUE(Errors.empty());
    // Give the display values to keep.
    ASSERT_TRUE(AnswerPoll(device, {0, 0, 0, 0xDB, 0x03, 0, 200, 0})); // 0.987, 12.5 V
    ASSERT_EQ(Text(Form1->Lambda1), "0.987");
    ASSERT_TRUE(Online());

    // Count silent ticks from here: OFFLINE lights with the eleventh.
    int ticks = 0;
    Form1->Timer1->OnTimer = [&ticks](TTimer* t) {
        ++ticks;
        Form1->Timer1Timer(t);
    };
    ASSERT_TRUE(WaitUntil(Offline, 2500));
    EXPECT_EQ(ticks, 11);
    EXPECT_FALSE(Online());
    EXPECT_TRUE(SetupItemsDisabled());
    EXPECT_EQ(Text(Form1->Lambda1), "0.987");
    EXPECT_EQ(Text(Form1->Value1), "12.5");

    device.Write({0x55});
    ASSERT_TRUE(WaitUntil(Online, 500));
    EXPECT_FALSE(Offline());
    EXPECT_TRUE(SetupItemsEnabled());
}

TEST_F(MainWindow, DisconnectNeitherHangsNorSpinsAndReopenWorks) {
    TSimConfig config;
    config.Scenario.DisconnectAfter = 400ms;
    StartSimulator(1, config);
    PressOpen(1);
    ASSERT_TRUE(WaitUntil(Online, 1000));
    ASSERT_TRUE(WaitUntil([this] { return Sim->Disconnected(); }, 2000));
    ASSERT_TRUE(WaitUntil(Offline, 2500));
    EXPECT_TRUE(SetupItemsDisabled());

    // With the device gone the program idles: well under a tenth of a core.
    const double cpuBefore = ProcessCpuSeconds();
    Pump(1000);
    EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.1);

    Sim->SetScenario(TSimScenario());
    Sim->Restart();
    Errors.clear();
    PressOpen(1);
    EXPECT_TRUE(Errors.empty()) << Errors.front();
    ASSERT_TRUE(WaitUntil(Online, 1000));
    EXPECT_FALSE(Offline());
}

TEST_F(MainWindow, SplitRepliesAndStrayBytesNeverStickTheDisplay) {
    TSimConfig config;
    config.Scenario = *ScenarioByName("split");
    OpenLive(0.9, 13.8, config);
    ASSERT_TRUE(LambdaShows("0.90"));

    // A stray byte before each reply shifts it: decoded wrongly, but nothing breaks.
    Sim->SetScenario(*ScenarioByName("stray"));
    Pump(500);
    EXPECT_TRUE(Online());
    // Back to a clean line: the next tick's purge realigns.
    Sim->SetScenario(TSimScenario());
    Sim->SetLambda(1.1);
    ASSERT_TRUE(LambdaShows("1.10"));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWindow, LiveReplyIsDecodedOnlyWhenAllEightBytesAreThere) {
    TTestDevice device(PortDir, 4);
    PressOpen(4);
    ASSERT_TRUE(
        WaitUntil([] { return Lambda_request && Form1->VaComm1->ReadBufUsed() == 0; }, 500));
    device.Write({1, 2, 3, 0x03, 0xE8, 0, 255});
    ASSERT_TRUE(WaitUntil(Online, 300));
    EXPECT_EQ(Form1->VaComm1->ReadBufUsed(), 7);
    EXPECT_TRUE(Lambda_request);
    device.Write({9, 7, 7, 7, 7});
    ASSERT_TRUE(WaitUntil([] { return !Lambda_request; }, 300));
    // Bytes 3 and 4 are low and high byte: 03 E8 means raw 59395.
    EXPECT_DOUBLE_EQ(Lambda, 59.395);
    EXPECT_EQ(Text(Form1->Value1), "15.9");
    EXPECT_EQ(Form1->VaComm1->ReadBufUsed(), 4); // left for the next tick's purge
    EXPECT_EQ(Form1->Cell(0, 12), "1");
    EXPECT_EQ(Form1->Cell(0, 18), "255");
}

TEST_F(MainWindow, SteadyReadingsLeaveTheDiagnosticsTableUntouched) {
    OpenLive(0.95);
    ASSERT_TRUE(LambdaShows("0.95"));
    Pump(300);
    std::vector<int> changedRows;
    QObject::connect(
        Form1->StringGrid1->model(), &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& from, const QModelIndex&) { changedRows.push_back(from.row()); });
    const auto requests = Sim->RequestCount();
    ASSERT_TRUE(WaitUntil([&] { return Sim->RequestCount() >= requests + 5; }, 2000));
    Pump(150);
    // The reply bytes did not change, so neither did their cells (row 15 is shared with
    // the receive-buffer count written at each tick).
    for (int row : changedRows)
        EXPECT_TRUE(row < 12 || row > 18 || row == 15) << "row " << row;
    // A new reading still reaches the table.
    changedRows.clear();
    Sim->SetLambda(1.2);
    ASSERT_TRUE(LambdaShows("1.20"));
    EXPECT_TRUE(std::any_of(changedRows.begin(), changedRows.end(),
                            [](int row) { return row == 16 || row == 17; }));
}

TEST_F(MainWindow, ClosingTheMainWindowReleasesThePort) {
    StartSimulator(1);
    PressOpen(1);
    ASSERT_TRUE(WaitUntil(Online, 1000));
    Form1->close();
    EXPECT_FALSE(Form1->VaComm1->Active());
    // Released: another program can now hold the device.
    TVaComm other;
    other.SetPortNum(1);
    EXPECT_NO_THROW(other.Open());
    other.Close();
    const size_t count = Sim->RequestCount();
    Pump(300);
    EXPECT_EQ(Sim->RequestCount(), count);
}
