#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QTableWidget>

#include "dialogs/AboutDialog.h"
#include "dialogs/CanSetupDialog.h"
#include "dialogs/ComPortDialog.h"
#include "dialogs/SensorSetupDialog.h"
#include "format/Formatting.h"
#include "monitor/DeviceWatch.h"
#include "monitor/LinkHint.h"
#include "monitor/LogFormat.h"
#include "monitor/RunDiagnostics.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtTimer.h"
#include "protocol/CanSpeed.h"
#include "protocol/Conversions.h"
#include "protocol/Requests.h"
#include "serial/VaComm.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbRMeter.h"
#include "widgets/AbSwitch.h"

bool Lambda_request = false;
bool CALrequest = false;
bool CANrequest = false;
int32_t Offline_count = 0;
double Lambda = 0;
uint8_t Batt_raw = 0;
uint16_t CALrich = 0;
uint16_t CALlean = 0;
int32_t FirmwareVersion = 0;
uint16_t CANaddress = 0;
uint8_t CANspeed = 0;
bool LogOn = false;
TDataLog Logfile;
std::string NameOfFile;

TForm1* Form1 = nullptr;

void ResetSerialTestState() {
    Lambda_request = false;
    CALrequest = false;
    CANrequest = false;
    Offline_count = 0;
    Lambda = 0;
    Batt_raw = 0;
    CALrich = 0;
    CALlean = 0;
    FirmwareVersion = 0;
    CANaddress = 0;
    CANspeed = 0;
    LogOn = false;
    GuardedCall([] { Logfile.Close(); });
    NameOfFile.clear();
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    ResetSerialTestState();
    CreateComponents();
    CreateMenu();
    ConnectHandlers();
    CreateDeviceWatch();
    FDiagnostics = TRunDiagnostics::FromEnvironment(this);
}

TForm1::~TForm1() {
    FormDestroy();
    delete VaComm1;
    VaComm1 = nullptr;
}

void TForm1::Sendbyte(uint8_t data) {
    VaComm1->WriteChar(data);
}

QWidget* TForm1::MainWindow() {
    return this;
}

TVaComm* TForm1::Port() {
    return VaComm1;
}

void TForm1::SetPolling(bool on) {
    AbToggleSwitch1->SetChecked(on);
}

void TForm1::StopPollTimer() {
    Timer1->SetEnabled(false);
}

void TForm1::PurgeRead() {
    VaComm1->PurgeRead();
}

void TForm1::SetDiagnosticsCell(int col, int row, const QString& text) {
    SetCell(col, row, text.toStdString());
}

bool TForm1::Online() const {
    return ONLINE->Checked();
}

bool TForm1::LiveReplyExpected() const {
    return Lambda_request;
}

void TForm1::ExpectReply(TExpectedReply reply) {
    CALrequest = reply == TExpectedReply::Calibration;
    CANrequest = reply == TExpectedReply::Can;
}

uint8_t TForm1::CanSpeed() const {
    return CANspeed;
}

void TForm1::SetCanSpeed(uint8_t code) {
    CANspeed = code;
}

std::string TForm1::Cell(int col, int row) const {
    QTableWidgetItem* item = StringGrid1->item(row, col);
    return item != nullptr ? item->text().toStdString() : std::string();
}

void TForm1::SetCell(int col, int row, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    QTableWidgetItem* item = StringGrid1->item(row, col);
    if (item == nullptr) {
        StringGrid1->setItem(row, col, new QTableWidgetItem(shown));
    } else if (item->text() != shown) {
        // Most bytes repeat from poll to poll; an unchanged cell costs no model update.
        item->setText(shown);
    }
}

void TForm1::SetLinkMenuEnabled(bool enabled) {
    Calibration1->setEnabled(enabled);
    CANSetup1->setEnabled(enabled);
}

// ---- poll tick and link watchdog -------------------------------------------------------

void TForm1::AbToggleSwitch1StatusChanged(QObject* /*Sender*/) {
    Timer1->SetEnabled(AbToggleSwitch1->Checked());
}

void TForm1::Timer1Timer(TTimer* /*Sender*/) {
    Lambda_request = true;
    SetCell(0, 15, IntToStr(VaComm1->ReadBufUsed()));
    VaComm1->PurgeRead();
    SendLiveDataRequest([this](uint8_t b) { Sendbyte(b); });
    LinkTick();
}

void TForm1::LinkTick() {
    ++Offline_count;
    if (Offline_count > 10) {
        const bool wasOffline = OFFLINE->Checked();
        ShowLinkDown();
        if (!wasOffline) {
            UpdateOfflineHint();
            emit LinkStatusChanged(TLinkStatus::Offline);
        }
    }
}

void TForm1::LinkActivity() {
    Offline_count = 0;
    const bool wasOnline = ONLINE->Checked();
    OFFLINE->SetChecked(false);
    ONLINE->SetChecked(true);
    SetLinkMenuEnabled(true);
    if (!wasOnline) {
        UpdateOfflineHint();
        emit LinkStatusChanged(TLinkStatus::Online);
    }
}

// OFFLINE lit, ONLINE out, the setup items that need the controller disabled; the watchdog
// count stays at its limit until a reply comes.
void TForm1::ShowLinkDown() {
    Offline_count = 10;
    OFFLINE->SetChecked(true);
    SetLinkMenuEnabled(false);
    ONLINE->SetChecked(false);
}

// ---- lost device and reconnect ---------------------------------------------------------

void TForm1::CreateDeviceWatch() {
    FWatch = std::make_unique<TDeviceWatch>(*VaComm1);
    ReconnectTimer = new TTimer(this);
    ReconnectTimer->SetEnabled(false);
    ReconnectTimer->SetInterval(500);
    ReconnectTimer->OnTimer = [this](TTimer* sender) { ReconnectTimerTimer(sender); };
    VaComm1->OnOpen = [this](TVaCustomComm*) {
        FWatch->PortOpened();
        PortStateChanged();
    };
    VaComm1->OnClose = [this](TVaCustomComm*) {
        FWatch->PortClosed();
        PortStateChanged();
    };
}

void TForm1::PortStateChanged() {
    ReconnectTimer->SetEnabled(FWatch->Active() && !FDestroyed);
    UpdateOfflineHint();
}

void TForm1::ReconnectTimerTimer(TTimer* /*Sender*/) {
    const TDeviceWatch::TChange change = FWatch->Check();
    if (change == TDeviceWatch::TChange::Gone) {
        ShowDeviceGone();
    } else if (change == TDeviceWatch::TChange::Reconnected) {
        ShowReconnected();
    }
    PortStateChanged();
    if (change == TDeviceWatch::TChange::Gone) {
        emit LinkStatusChanged(TLinkStatus::DeviceGone);
    } else if (change == TDeviceWatch::TChange::Reconnected) {
        emit LinkStatusChanged(TLinkStatus::Reconnected);
    }
}

// The link is down for certain: the lamps say so at once, without waiting for the watchdog.
void TForm1::ShowDeviceGone() {
    ShowLinkDown();
    if (ComPortForm != nullptr) {
        ComPortForm->AbLED2->SetChecked(false);
    }
}

// The port is open again; ONLINE and the setup menu items follow once the controller answers.
void TForm1::ShowReconnected() {
    if (ComPortForm != nullptr) {
        ComPortForm->AbLED2->SetChecked(true);
    }
}

void TForm1::ForgetLostDevice() {
    FWatch->Forget();
    PortStateChanged();
}

bool TForm1::DeviceLost() const {
    return FWatch->Waiting();
}

void TForm1::UpdateOfflineHint() {
    QString hint;
    if (OFFLINE->Checked()) {
        TOfflineReason reason = TOfflineReason::NoAnswer;
        if (FWatch->Waiting()) {
            reason = TOfflineReason::DeviceGone;
        } else if (!VaComm1->Active()) {
            reason = TOfflineReason::PortClosed;
        }
        hint = QString::fromStdString(
            OfflineHint(reason, FWatch->PortName(), FWatch->Identity().Node));
    }
    if (OFFLINE->toolTip() != hint) {
        OFFLINE->setToolTip(hint);
    }
}

// ---- receive dispatcher ----------------------------------------------------------------

void TForm1::VaComm1RxChar(TVaCustomComm* /*Sender*/, int /*Count*/) {
    GuardedCall([this] {
        LinkActivity();
        if (Timer1->Enabled() && Lambda_request && VaComm1->ReadBufUsed() > 7) {
            LiveDataReply();
        }
        if (!Timer1->Enabled() && CALrequest && VaComm1->ReadBufUsed() > 9) {
            CalibrationReply();
        }
        if (!Timer1->Enabled() && CANrequest && VaComm1->ReadBufUsed() > CanReplyWaitAbove) {
            CanReply();
        }
    });
}

uint8_t TForm1::NextByte() {
    uint8_t ch = 0;
    VaComm1->ReadChar(ch);
    return ch;
}

void TForm1::LiveDataReply() {
    uint8_t reply[LiveReplyLength];
    for (int i = 0; i < LiveReplyLength; ++i) {
        reply[i] = NextByte();
        if (i < 7) {
            SetCell(0, 12 + i, IntToStr(reply[i]));
        }
    }
    if (reply[LiveWarmupFlag] == 1) {
        WarmupLED->SetChecked(true);
    } else if (reply[LiveWarmupFlag] == 0) {
        WarmupLED->SetChecked(false);
    }
    Batt_raw = reply[LiveSupplyRaw];
    Value1->SetValue(SupplyVolts(Batt_raw));
    Lambda = LambdaFromRaw(reply[LiveLambdaLow], reply[LiveLambdaHigh]);
    const double shown = WarmupLED->Checked() ? 1.0 : Lambda;
    Lambda1->SetValue(shown);
    Meter1->SetValue(static_cast<float>(shown));
    TDecodedReading reading;
    reading.When = std::chrono::system_clock::now();
    // The log line's time of day is the chart's time of the same reading.
    reading.LocalTime = LocalTimeAt(std::chrono::system_clock::to_time_t(reading.When));
    reading.Lambda = Lambda;
    reading.Volts = Value1->Value();
    reading.Warmup = WarmupLED->Checked();
    emit LiveReadingDecoded(reading);
    if (LogOn) {
        AppendLogLine(reading);
    }
    Lambda_request = false;
}

void TForm1::CalibrationReply() {
    uint8_t reply[CalReplyReadLength];
    for (int i = 0; i < CalReplyReadLength; ++i) {
        reply[i] = NextByte();
    }
    for (int i = 0; i < 9; ++i) {
        SetCell(1, 2 + i, IntToStr(reply[i]));
    }
    CALrich = static_cast<uint16_t>(reply[CalReplyRichHigh] * 256 + reply[CalReplyRichLow]);
    CALlean = static_cast<uint16_t>(reply[CalReplyLeanHigh] * 256 + reply[CalReplyLeanLow]);
    SetCell(1, 12, IntToStr(CALrich));
    SetCell(1, 13, IntToStr(CALlean));
    SetCell(2, 12, FloatToStr((CALrich - 948.8) / 0.0103));
    SetCell(2, 13, FloatToStr((CALlean - 948.8) / 0.0103));
    CalForm->ResistanceEdit1->SetValue(static_cast<double>(ResistanceFromCal(CALlean)));
    FirmwareVersion = reply[CalReplyFirmware];
    SetCell(1, 15, IntToStr(FirmwareVersion));
    CalForm->VersionText->setText(QString::fromStdString(FirmwareVersionText(
        static_cast<uint8_t>(FirmwareVersion), RegionalSettings().DecimalSeparator)));
    CALrequest = false;
}

void TForm1::CanReply() {
    uint8_t reply[CanReplyReadLength];
    for (int i = 0; i < CanReplyReadLength; ++i) {
        reply[i] = NextByte();
    }
    for (int i = 0; i < 7; ++i) {
        SetCell(2, 2 + i, IntToStr(reply[i]));
    }
    CANaddress =
        static_cast<uint16_t>(reply[CanReplyAddressHigh] * 256 + reply[CanReplyAddressLow]);
    CANform->CANAbNumEdit2->SetValue(CANaddress);
    CANspeed = reply[CanReplySpeed];
    SetCell(2, 10, IntToStr(CANaddress));
    SetCell(2, 11, IntToStr(CANspeed));
    CANform->CheckSpeedButton(CANspeed);
    CANrequest = false;
}

// ---- data log --------------------------------------------------------------------------

void TForm1::AppendLogLine(const TDecodedReading& reading) {
    const std::string line = LogDataLine(reading.Lambda, reading.LocalTime, reading.Volts);
    try {
        Logfile.WriteLine(line);
    } catch (...) {
        // The log has closed itself: show it as stopped, report the error once.
        CloseLogAfterFailure();
        throw;
    }
}

void TForm1::CloseLogAfterFailure() {
    LogOn = false;
    DiskLED->SetChecked(false);
}

bool TForm1::ChooseLogFile(std::string& path) {
    if (SaveTextFileDialog1 == nullptr) {
        CreateSaveTextFileDialog();
    }
    if (SaveTextFileDialog1->exec() != QDialog::Accepted) {
        return false;
    }
    const QStringList files = SaveTextFileDialog1->selectedFiles();
    if (files.isEmpty()) {
        return false;
    }
    path = files.first().toStdString();
    return true;
}

void TForm1::LogStartClick() {
    std::string path;
    if (ChooseLogFile(path)) {
        StartLog(path);
    }
}

void TForm1::StartLog(const std::string& path) {
    if (LogOn) {
        // The current log is finished before the new file is made, so it stays complete
        // even when the same file is chosen again.
        LogOn = false;
        DiskLED->SetChecked(false);
        Logfile.Close();
    }
    NameOfFile = path;
    Logfile.Create(NameOfFile);
    LogOn = true;
    DiskLED->SetChecked(true);
    try {
        Logfile.WriteLine(LogHeaderLine(LocalNow()));
    } catch (...) {
        CloseLogAfterFailure();
        throw;
    }
    StaticText2->setText(QString::fromStdString(NameOfFile));
}

void TForm1::LogStopClick() {
    if (!LogOn) {
        return;
    }
    LogOn = false;
    DiskLED->SetChecked(false);
    Logfile.Close();
}

// ---- menu ------------------------------------------------------------------------------

void TForm1::ComPort1Click() {
    ComPortForm->ShowForm();
}

void TForm1::Calibration1Click() {
    CalForm->ShowForm();
}

void TForm1::CANSetup1Click() {
    CANform->ShowForm();
}

void TForm1::About1Click() {
    AboutForm->ShowForm();
}

// ---- end -------------------------------------------------------------------------------

void TForm1::FormDestroy() {
    if (FDestroyed) {
        return;
    }
    FDestroyed = true;
    Timer1->SetEnabled(false);
    ReconnectTimer->SetEnabled(false);
    GuardedCall([this] {
        if (VaComm1->Active()) {
            VaComm1->Close();
        }
    });
    if (FDiagnostics) {
        FDiagnostics->PortReleased();
    }
    GuardedCall([] {
        if (LogOn) {
            LogOn = false;
            Logfile.Close();
        }
    });
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormDestroy();
    event->accept();
    // The program ends with the main window, even when a dialog is still shown.
    for (QDialog* dialog : {static_cast<QDialog*>(CalForm), static_cast<QDialog*>(CANform),
                            static_cast<QDialog*>(AboutForm), static_cast<QDialog*>(ComPortForm)}) {
        if (dialog != nullptr) {
            dialog->hide();
        }
    }
}
