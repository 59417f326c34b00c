// A device that disappears while the main window polls it: no lock-out, a lamp that says what
// happened, and the same device opened again when it returns, never another one.
#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <cmath>
#include <pty.h>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

#include "UiHarness.h"
#include "dialogs/ComPortDialog.h"
#include "monitor/MainWindow.h"
#include "platform/QtTimer.h"
#include "ports/PortDirectory.h"
#include "ports/PortIdentity.h"
#include "serial/VaComm.h"
#include "widgets/AbLED.h"

using namespace std::chrono_literals;

namespace {
bool DeviceLost() {
    return Form1->DeviceLost();
}
std::string OfflineHint() {
    return Form1->OFFLINE->toolTip().toStdString();
}
bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
} // namespace

using Reconnect = UiHarness;

TEST_F(Reconnect, GoneDeviceCostsNothingPerTickAndTheLampSaysWhy) {
    TSimConfig config;
    config.Scenario.Silent = true;
    config.Scenario.DisconnectAfter = 2500ms;
    StartSimulator(1, config);
    PressOpen(1);
    // A controller that does not answer...
    ASSERT_TRUE(WaitUntil(Offline, 5000));
    EXPECT_TRUE(Contains(OfflineHint(), "does not answer")) << OfflineHint();
    ASSERT_TRUE(WaitUntil([this] { return Sim->Disconnected(); }, 10000));

    // ...then a device that is gone: hundreds of ticks against it raise nothing.
    Form1->Timer1->SetInterval(5);
    int ticks = 0;
    const auto tick = Form1->Timer1->OnTimer;
    Form1->Timer1->OnTimer = [&](TTimer* sender) {
        tick(sender);
        ++ticks;
    };
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 600; }, 60000)) << ticks << " ticks";
    EXPECT_TRUE(Errors.empty()) << Errors.front();
    ASSERT_TRUE(WaitUntil(DeviceLost, 5000));
    EXPECT_TRUE(Offline());
    EXPECT_FALSE(Online());
    EXPECT_TRUE(Contains(OfflineHint(), "COM1")) << OfflineHint();
    EXPECT_TRUE(Contains(OfflineHint(), "is gone")) << OfflineHint();
    EXPECT_FALSE(ComPortForm->AbLED2->Checked());
    EXPECT_FALSE(Form1->Calibration1->isEnabled());
}

TEST_F(Reconnect, SameDeviceBackIsReopenedAndTheLogGoesOnWhole) {
    TSimConfig config;
    config.Live.Numbered = true; // every reading told apart in the log
    config.Scenario.DisconnectAfter = 1500ms;
    StartSimulator(1, config);
    PressOpen(1);
    ASSERT_TRUE(WaitUntil(Online, 2000));
    const std::string path = TempPath("reconnect.txt");
    StartLogTo(path);
    ASSERT_TRUE(LogOn);
    long decoded = 0;
    QObject::connect(Form1, &TForm1::LiveReadingDecoded, [&] { ++decoded; });
    std::vector<TLinkStatus> statuses;
    QObject::connect(Form1, &TForm1::LinkStatusChanged,
                     [&](TLinkStatus status) { statuses.push_back(status); });

    ASSERT_TRUE(WaitUntil(DeviceLost, 10000));
    Pump(1200); // a few looks find nothing
    EXPECT_FALSE(Online());
    Sim->SetScenario(TSimScenario());
    Sim->Restart(); // published again under the same name
    QElapsedTimer sinceBack;
    sinceBack.start();
    ASSERT_TRUE(WaitUntil(Online, 10000));
    EXPECT_LT(sinceBack.elapsed(), 2000);
    EXPECT_TRUE(ComPortForm->AbLED2->Checked());
    const long atReconnect = decoded;
    ASSERT_TRUE(WaitUntil([&] { return decoded >= atReconnect + 10; }, 10000));
    Form1->LogStop->click();
    EXPECT_TRUE(Errors.empty()) << Errors.front();
    // (A busy machine may let the watchdog call the line offline on the way.)
    std::erase(statuses, TLinkStatus::Offline);
    EXPECT_EQ(statuses, (std::vector<TLinkStatus>{TLinkStatus::DeviceGone, TLinkStatus::Reconnected,
                                                  TLinkStatus::Online}));

    // One whole line per decoded reading, each reading once, in order.
    const auto lines = LogLines(ReadWholeFile(path));
    ASSERT_EQ(static_cast<long>(lines.size()), decoded + 1);
    long last = 0;
    const std::regex format(R"(([0-9.]+),\d\d:\d\d:\d\d, 13\.8)");
    for (size_t i = 1; i < lines.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[i], m, format)) << lines[i];
        const long number = std::lround(std::stod(m[1].str()) * 1000);
        EXPECT_GT(number, last) << lines[i];
        last = number;
    }
}

TEST_F(Reconnect, AnotherDeviceUnderTheSameNumberIsNotOpened) {
    TSimConfig config;
    config.Scenario.DisconnectAfter = 800ms;
    StartSimulator(1, config);
    PressOpen(1);
    ASSERT_TRUE(WaitUntil(Online, 2000));
    ASSERT_TRUE(WaitUntil(DeviceLost, 10000));

    // Meanwhile COM1 has come to mean a different device.
    char tmpl[] = "/tmp/uego-other-XXXXXX";
    const std::string otherDir = ::mkdtemp(tmpl);
    {
        TTestDevice other(otherDir, 1);
        SetPortDirectory(otherDir);
        Pump(2500); // five looks
        EXPECT_TRUE(other.ReadAll().empty()) << "the other device was polled";
        EXPECT_TRUE(DeviceLost());
        EXPECT_FALSE(Online());
        SetPortDirectory(PortDir);
    }
    ::rmdir(otherDir.c_str());
}

TEST(PortIdentity, AnEnumeratedAdapterIsKnownByItsByIdNameElseByItsNode) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string node = ::ttyname(slave);
    char tmpl[] = "/tmp/uego-byid-XXXXXX";
    const std::string folder = ::mkdtemp(tmpl);
    const std::string byId = folder + "/usb-Maker_Adapter_A1-if00-port0";
    ASSERT_EQ(::symlink("/dev/null", (folder + "/usb-Another_Adapter-if00-port0").c_str()), 0);
    ASSERT_EQ(::symlink(node.c_str(), byId.c_str()), 0);
    const TPortIdentityFolders folders{folder + "/no-ports", folder};

    TPortIdentity identity = IdentifyOpenPort("COM7", slave, folders);
    EXPECT_EQ(identity.Kind, TPortIdentityKind::ById);
    EXPECT_EQ(identity.Path, byId);
    EXPECT_EQ(identity.Node, node);
    EXPECT_TRUE(PortPresent(identity));
    ::unlink(byId.c_str());
    EXPECT_FALSE(PortPresent(identity));

    identity = IdentifyOpenPort("COM7", slave, folders);
    EXPECT_EQ(identity.Kind, TPortIdentityKind::NodePath);
    EXPECT_EQ(identity.Path, node);

    ::close(slave);
    ::close(master);
    std::system(("rm -rf '" + folder + "'").c_str());
}
