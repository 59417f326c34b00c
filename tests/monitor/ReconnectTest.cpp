// A device that disappears while the main window polls it: no lock-out, a lamp that says what
// happened, and the same device opened again when it returns, never another one.
#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <cmath>
#include <fcntl.h>
#include <iostream>
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

// A folder standing in for /dev/serial (by-id, by-path) for as long as it lives.
class TDeviceLinks {
public:
    TDeviceLinks() {
        char tmpl[] = "/tmp/uego-links-XXXXXX";
        Path = ::mkdtemp(tmpl);
        ::setenv("UEGO4100_DEVICE_LINKS", Path.c_str(), 1);
    }
    ~TDeviceLinks() {
        ::unsetenv("UEGO4100_DEVICE_LINKS");
        std::system(("rm -rf '" + Path + "'").c_str());
    }
    std::string Path;
};

// A pseudo-terminal that the test holds and plays no part in: "another device".
class TOtherDevice {
public:
    TOtherDevice() {
        char name[128] = {};
        if (::openpty(&Master, &Slave, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        Node = name;
        ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
    }
    ~TOtherDevice() {
        ::close(Slave);
        ::close(Master);
    }
    // What the program has sent to it.
    std::string Received() const {
        std::string text;
        char buffer[256];
        for (ssize_t n; (n = ::read(Master, buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }
    int Master = -1;
    int Slave = -1;
    std::string Node;
};

bool Reopened() {
    return Form1->VaComm1->Active() && !Form1->DeviceLost();
}
} // namespace

class Reconnect : public UiHarness {
protected:
    // The simulator as COM1, opened, answering, then unplugged and waited for.
    void LoseDevice() {
        TSimConfig config;
        config.Scenario.DisconnectAfter = 800ms;
        StartSimulator(1, config);
        PressOpen(1);
        ASSERT_TRUE(WaitUntil(Online, 2000));
        ASSERT_TRUE(WaitUntil(DeviceLost, 10000));
    }
};

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
    LoseDevice();
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
        // The lost device returns in its own folder while COM1 still means the other one: it is
        // the one opened again, and the other is never touched.
        Sim->SetScenario(TSimScenario());
        Sim->Restart();
        EXPECT_TRUE(WaitUntil(Online, 5000));
        EXPECT_TRUE(other.ReadAll().empty()) << "the other device was opened";
        SetPortDirectory(PortDir);
    }
    ::rmdir(otherDir.c_str());
}

// A by-id name says which adapter only when the adapter has a serial number (sysfs has none
// for this terminal): identical adapters without one share the name.
TEST(PortIdentity, AByIdNameWithoutASerialNumberIsNotTakenForTheAdapter) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string node = ::ttyname(slave);
    char tmpl[] = "/tmp/uego-byid-XXXXXX";
    const std::string folder = ::mkdtemp(tmpl);
    const std::string byId = folder + "/usb-Maker_Adapter_A1-if00-port0";
    ASSERT_EQ(::symlink("/dev/null", (folder + "/usb-Another_Adapter-if00-port0").c_str()), 0);
    ASSERT_EQ(::symlink(node.c_str(), byId.c_str()), 0);
    const TPortIdentityFolders folders{folder + "/no-ports", folder, folder + "/no-by-path",
                                       folder + "/no-sys"};

    TPortIdentity identity = IdentifyOpenPort("COM7", slave, folders);
    EXPECT_EQ(identity.Kind, TPortIdentityKind::NodePath);
    EXPECT_EQ(identity.Path, node);
    EXPECT_EQ(identity.Node, node);
    EXPECT_TRUE(PortPresent(identity, folders));

    ::close(slave);
    ::close(master);
    EXPECT_FALSE(PortPresent(identity, folders));
    std::system(("rm -rf '" + folder + "'").c_str());
}

// The controller comes back under another node (an adapter re-enumerated as ttyUSB1, the
// simulator as another /dev/pts/N). Whether the port was opened by its COM number or by its
// node path, the program closed the dead descriptor at once and opens the device again by
// its stable name, within a second of its return.
TEST_F(Reconnect, ARenumberedDeviceIsFoundByItsStableNameWithinASecond) {
    for (const bool byNode : {false, true}) {
        SCOPED_TRACE(byNode ? "--port /dev/pts/N" : "--port 1");
        TDeviceLinks links;
        TSimConfig config;
        config.DeviceLinks = links.Path;
        config.Renumber = true;
        config.Scenario.DisconnectAfter = 1000ms;
        StartSimulator(1, config);
        const std::string node = Sim->SlavePath();
        if (byNode) {
            ComPortForm->OpenDevicePath(node);
        } else {
            PressOpen(1);
        }
        ASSERT_TRUE(WaitUntil(Online, 2000));
        ASSERT_TRUE(WaitUntil(DeviceLost, 10000));
        // The component holds one descriptor, the device's: closed the moment it was seen gone.
        EXPECT_FALSE(Form1->VaComm1->Active()) << "the dead descriptor is still open";
        if (byNode) {
            EXPECT_EQ(OfflineHint(), node + " is gone. The program reconnects when it returns.");
        }
        Pump(600);
        Sim->SetScenario(TSimScenario());
        Sim->Restart();
        ASSERT_NE(Sim->SlavePath(), node);
        QElapsedTimer sinceBack;
        sinceBack.start();
        ASSERT_TRUE(WaitUntil(Reopened, 5000));
        const qint64 took = sinceBack.elapsed();
        std::cout << "[ figure ] " << (byNode ? "--port /dev/pts/N" : "--port 1") << ": reopened "
                  << took << " ms after the return, " << node << " -> " << Sim->SlavePath() << "\n";
        EXPECT_LT(took, 1000);
        EXPECT_TRUE(WaitUntil(Online, 2000));
        EXPECT_TRUE(Errors.empty()) << Errors.front();
        Form1->VaComm1->Close();
        Form1->ForgetLostDevice();
        Sim.reset();
    }
}

// The device returns while the port folder is writable by others: what the entry names then
// is not to be trusted, and nothing is opened until the folder is the user's alone again.
TEST_F(Reconnect, ADeviceBackUnderAnUntrustedFolderIsNotOpened) {
    LoseDevice();
    ::chmod(PortDir.c_str(), 0770);
    {
        TTestDevice back(PortDir, 1);
        Pump(1500); // three looks
        EXPECT_TRUE(back.ReadAll().empty()) << "opened and polled through an untrusted folder";
        EXPECT_TRUE(DeviceLost());
        EXPECT_FALSE(Form1->VaComm1->Active());
        ::chmod(PortDir.c_str(), 0700);
        EXPECT_TRUE(WaitUntil(Reopened, 3000)) << "the folder is the user's again";
    }
}

// A port opened through a link (by-path here) is known by that link, not by the node it led
// to: a different device that takes the old node is left alone, and the device is found
// again under its new node.
TEST_F(Reconnect, APathPortIsKnownByItsOwnStableNameNotByItsOldNode) {
    TDeviceLinks links;
    TSimConfig config;
    config.DeviceLinks = links.Path;
    config.Scenario.DisconnectAfter = 800ms;
    StartSimulator(1, config);
    const std::string node = Sim->SlavePath();
    ComPortForm->OpenDevicePath(Sim->DeviceLinkPath());
    ASSERT_TRUE(WaitUntil(Online, 2000));
    ASSERT_TRUE(WaitUntil(DeviceLost, 10000));
    // Another device takes the freed node.
    std::vector<std::unique_ptr<TOtherDevice>> others;
    while (others.size() < 32 && (others.empty() || others.back()->Node != node)) {
        others.push_back(std::make_unique<TOtherDevice>());
    }
    if (others.back()->Node != node) {
        GTEST_SKIP() << node << " was taken by another process";
    }
    Sim->SetScenario(TSimScenario());
    Sim->Restart(); // under another node, its link updated
    ASSERT_NE(Sim->SlavePath(), node);
    EXPECT_TRUE(WaitUntil(Online, 5000));
    EXPECT_EQ(others.back()->Received(), "") << "the device on the old node was polled";
}
