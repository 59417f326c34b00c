#include "UiHarness.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <pty.h>
#include <sstream>
#include <termios.h>
#include <unistd.h>

#include "app/Startup.h"
#include "dialogs/ComPortDialog.h"
#include "format/Regional.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtSynchronize.h"
#include "ports/PortDirectory.h"
#include "serial/VaComm.h"
#include "tests/support/QtTestApp.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"

namespace {
// The application object with the hand-over wake-up the program's start-up installs, so
// notifications of the port's threads reach the windows as in the program.
void App() {
    static const bool hooked = [] {
        TestApp();
        InstallQtSynchronizeHook();
        AtTestAppEnd(RemoveQtSynchronizeHook);
        return true;
    }();
    (void)hooked;
}
} // namespace

TTestDevice::TTestDevice(const std::string& portDirectory, int portNumber) {
    char name[256];
    if (::openpty(&FMaster, &FSlave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    termios tio{};
    ::tcgetattr(FSlave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(FSlave, TCSANOW, &tio);
    ::fcntl(FMaster, F_SETFL, ::fcntl(FMaster, F_GETFL) | O_NONBLOCK);
    FLink = portDirectory + "/COM" + std::to_string(portNumber);
    ::unlink(FLink.c_str());
    if (::symlink(name, FLink.c_str()) != 0) {
        throw std::runtime_error("symlink failed");
    }
}

TTestDevice::~TTestDevice() {
    ::unlink(FLink.c_str());
    ::close(FMaster);
    ::close(FSlave);
}

void TTestDevice::Write(const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(::write(FMaster, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

std::vector<uint8_t> TTestDevice::ReadAll() {
    std::vector<uint8_t> out;
    uint8_t buffer[256];
    ssize_t n;
    while ((n = ::read(FMaster, buffer, sizeof buffer)) > 0) {
        out.insert(out.end(), buffer, buffer + n);
    }
    return out;
}

void UiHarness::SetUp() {
    App();
    char tmpl[] = "/tmp/uego-ui-XXXXXX";
    PortDir = ::mkdtemp(tmpl);
    SetPortDirectory(PortDir);
    // Choices the windows keep between runs (the log folder, the chart's) stay in the test's
    // folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(PortDir));
    SetRegionalSettings(EnglishRegionalSettings());
    SetErrorDisplayHook([this](const std::string& message) { Errors.push_back(message); });
    CreateApplicationWindows();
    CentreOnScreen(Form1);
    Form1->show();
    QApplication::processEvents();
}

void UiHarness::TearDown() {
    DestroyApplicationWindows();
    Sim.reset();
    QApplication::processEvents();
    SetErrorDisplayHook({});
    SetPortDirectory("");
    std::system(("rm -rf '" + PortDir + "'").c_str());
}

TWbxSimulator& UiHarness::StartSimulator(int port, const TSimConfig& config) {
    Sim = std::make_unique<TWbxSimulator>(config);
    Sim->Start(PortDir, port);
    return *Sim;
}

void UiHarness::PressOpen(int port) {
    ComPortForm->SpinEdit2->setValue(port);
    ComPortForm->Button1->click();
}

void UiHarness::OpenLive(double lambda, double volts, TSimConfig config) {
    config.Live.Lambda = lambda;
    config.Live.SupplyVolts = volts;
    StartSimulator(1, config);
    PressOpen(1);
}

bool UiHarness::LambdaShows(const QString& text, int timeoutMs) {
    return WaitUntil([&text] { return Text(Form1->Lambda1) == text; }, timeoutMs);
}

bool UiHarness::AnswerPoll(TTestDevice& device, const std::vector<uint8_t>& reply) {
    // A tick has purged the line and sent its request.
    if (!WaitUntil([] { return Lambda_request && Form1->VaComm1->ReadBufUsed() == 0; }, 500)) {
        return false;
    }
    device.Write(reply);
    return WaitUntil([] { return !Lambda_request; }, 500);
}

bool UiHarness::WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

void UiHarness::Pump(int ms) {
    QTest::qWait(ms);
}

namespace {
// Answers the save dialog once it is up (it runs its own event loop).
void AnswerSaveDialog(const std::string& path) {
    auto* dialog = Form1->SaveTextFileDialog1;
    if (!dialog->isVisible()) {
        QTimer::singleShot(10, [path] { AnswerSaveDialog(path); });
        return;
    }
    if (path.empty()) {
        dialog->reject();
        return;
    }
    // Typed as a user would: the folder, then the name in the name field.
    const QFileInfo info(QString::fromStdString(path));
    dialog->setDirectory(info.absolutePath());
    auto* nameEdit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(nameEdit, nullptr);
    nameEdit->setText(info.fileName());
    // An existing file brings the overwrite question: answer it with Yes.
    QTimer::singleShot(100, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    QMetaObject::invokeMethod(dialog, "accept");
}
} // namespace

void UiHarness::StartLogTo(const std::string& path) {
    QTimer::singleShot(0, [path] { AnswerSaveDialog(path); });
    Form1->LogStart->click();
}

std::string UiHarness::TempPath(const std::string& name) const {
    return PortDir + "/" + name;
}

bool Online() {
    return Form1->ONLINE->Checked();
}

bool Offline() {
    return Form1->OFFLINE->Checked();
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> LogLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

QString Text(const TAbNumEdit* edit) {
    return edit->text();
}
