#include "ComPortDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "dialogs/PortDescription.h"
#include "dialogs/PortSpinEdit.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtBind.h"
#include "ports/PortNames.h"
#include "ports/PortProbe.h"
#include "protocol/Requests.h"
#include "serial/VaComm.h"
#include "widgets/AbLED.h"

TComPortForm* ComPortForm = nullptr;

namespace {
constexpr int ClientWidth = 323;
constexpr int ClientHeight = 167;
// Two lines: the device and, for a long path, its wrapped end.
constexpr int DeviceTextHeight = 36;
// COM1, COM2 ...: the port number fills in the pattern.
constexpr const char* NumberedDeviceName = "COM%d";

// The live-data request, answered by 8 bytes within 300 ms.
TProbeResult FindController() {
    return FindAnsweringPort(ProbeCandidates(), LiveDataRequestBytes(), LiveReplyLength,
                             std::chrono::milliseconds(300));
}

} // namespace

TComPortForm::TComPortForm(TDialogLine& line)
    : TDialogForm(line.MainWindow(), "Com Port", ClientWidth, ClientHeight), FLine(line) {
    setObjectName("ComPortForm");
    SpinEdit2 = new TPortSpinEdit(this);
    SpinEdit2->setObjectName("SpinEdit2");
    SpinEdit2->setGeometry(127, 24, 49, 22);
    SpinEdit2->setValue(1);
    Button1 = new QPushButton("Open", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(114, 64, 75, 25);
    FindButton = new QPushButton("Find", this);
    FindButton->setObjectName("FindButton");
    FindButton->setGeometry(200, 64, 75, 25);
    AbLED2 = new TAbLED(this);
    AbLED2->setObjectName("AbLED2");
    AbLED2->SetCaption("Port Open");
    AbLED2->SetLED_Position(lpLeft);
    AbLED2->SetSpacing(5);
    AbLED2->setGeometry(116, 95, 73, 33);
    DeviceText = new QLabel(this);
    DeviceText->setObjectName("DeviceText");
    DeviceText->setGeometry(6, 128, 311, DeviceTextHeight);
    DeviceText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    DeviceText->setWordWrap(true);
    Bind(Button1, &QPushButton::clicked, this, &TComPortForm::Button1Click);
    QObject::connect(FindButton, &QPushButton::clicked, this,
                     [this] { GuardedCall([this] { FindButtonClick(); }); });
    Bind(SpinEdit2, &QSpinBox::valueChanged, this, &TComPortForm::UpdateDeviceText);
    // The window cannot be moved in the original design; a window manager's move command
    // cannot be withdrawn from here, so the dialog is re-centred whenever it is shown instead.
}

int TComPortForm::PortNumber() const {
    return PortNumberFromText(SpinEdit2->cleanText());
}

int TComPortForm::EnteredPortNumber() {
    SpinEdit2->interpretText();
    return SpinEdit2->value();
}

void TComPortForm::UpdateDeviceText() {
    SetDeviceText(QString::fromStdString(DescribePort(PortNumber())));
}

void TComPortForm::SetDeviceText(const QString& text) {
    // The lines take the height they need below the lamp; the dialog grows downward for them.
    DeviceText->setText(text);
    const int height = std::max(DeviceTextHeight, DeviceText->heightForWidth(DeviceText->width()));
    DeviceText->resize(DeviceText->width(), height);
    setFixedSize(ClientWidth, std::max(ClientHeight, DeviceText->y() + height + 3));
}

void TComPortForm::FormShow() {
    UpdateDeviceText();
}

void TComPortForm::FormActivate() {
    SetMainWindowEnabled(false);
}

void TComPortForm::FormClose() {
    SetMainWindowEnabled(true);
    if (!FLine.Port()->Active()) {
        AbLED2->SetChecked(false);
        FLine.SetLinkMenuEnabled(false);
    }
}

void TComPortForm::Button1Click() {
    OpenWith(NumberedDeviceName);
}

void TComPortForm::OpenPortNumber(int portNum) {
    SpinEdit2->setValue(portNum);
    Button1Click();
}

bool TComPortForm::FindButtonClick() {
    FLine.ForgetLostDevice();
    TVaComm* comm = FLine.Port();
    AbLED2->SetChecked(false);
    if (comm->Active()) {
        comm->Close(); // its device is tried like the others
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const TProbeResult result = FindController();
    QGuiApplication::restoreOverrideCursor();
    if (!result.Found) {
        FLine.SetLinkMenuEnabled(false);
        FLine.SetPolling(false);
        SetDeviceText(QString::fromStdString(NoControllerText(result)));
        return false;
    }
    const std::string& name = result.Port.Name;
    if (const int number = ComPortNumber(name); number > 0) {
        OpenPortNumber(number);
    } else {
        OpenDevicePath(name);
    }
    SetDeviceText(QString::fromStdString(FoundControllerText(result.Port)));
    return true;
}

void TComPortForm::FindAndOpen() {
    if (!FindButtonClick()) {
        throw EVaCommError(DeviceText->text().toStdString());
    }
}

void TComPortForm::OpenDevicePath(const std::string& path) {
    OpenWith(LiteralDeviceName(path));
}

void TComPortForm::OpenWith(const std::string& deviceName) {
    // The user's choice replaces any waiting for a lost device.
    FLine.ForgetLostDevice();
    TVaComm* comm = FLine.Port();
    AbLED2->SetChecked(false);
    if (comm->Active()) {
        comm->Close();
    }
    comm->SetDeviceName(deviceName);
    comm->SetPortNum(EnteredPortNumber());
    UpdateDeviceText();
    if (deviceName != NumberedDeviceName) {
        SetDeviceText(QString::fromStdString(comm->GetDeviceName()));
    }
    OpenPort();
    if (comm->Active()) {
        AbLED2->SetChecked(true);
        FLine.SetLinkMenuEnabled(true);
        FLine.SetPolling(true);
    } else {
        AbLED2->SetChecked(false);
        FLine.SetLinkMenuEnabled(false);
        FLine.SetPolling(false);
    }
}

void TComPortForm::OpenPort() {
    try {
        FLine.Port()->Open();
    } catch (const std::exception& e) {
        // Only adds a line to the dialog; the error itself goes on to the error display.
        ShowAccessHint(e.what());
        throw;
    }
}

void TComPortForm::ShowAccessHint(const std::string& error) {
    if (!IsPermissionError(error)) {
        return;
    }
    std::string device;
    ResolvePortName(FLine.Port()->GetDeviceName(), device);
    SetDeviceText(DeviceText->text() + "\n" + QString::fromStdString(AccessHint(device)));
}
