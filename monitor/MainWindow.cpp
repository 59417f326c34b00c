#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QTableWidget>
#include <chrono>

#include "dialogs/AboutDialog.h"
#include "dialogs/CanSetupDialog.h"
#include "dialogs/ComPortDialog.h"
#include "dialogs/DisplayDialog.h"
#include "dialogs/SensorSetupDialog.h"
#include "format/Formatting.h"
#include "monitor/DashWindow.h"
#include "monitor/DeviceWatch.h"
#include "monitor/DialLook.h"
#include "monitor/Instrument.h"
#include "monitor/LinkHint.h"
#include "monitor/NightTheme.h"
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
    CreateLogControls();
    CreateDeviceWatch();
    FDiagnostics = TRunDiagnostics::FromEnvironment(this);
    const TDisplaySettings remembered = LoadDisplaySettings();
    if (!(remembered == FDisplay)) {
        ApplyDisplaySettings(remembered, false);
    }
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
    // The request goes out in one write, so the write thread wakes once for it, not per byte.
    const std::vector<uint8_t> request = LiveDataRequestBytes();
    VaComm1->WriteBuf(request.data(), static_cast<int>(request.size()));
    LinkTick();
}

void TForm1::LinkTick() {
    ++Offline_count;
    if (Offline_count > 10) {
        const bool wasOffline = OFFLINE->Checked();
        ShowLinkDown();
        if (!wasOffline) {
            UpdateOfflineHint();
            InstrumentLinkChanged();
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
        InstrumentLinkChanged();
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
    InstrumentLinkChanged();
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
    TDecodedReading reading;
    reading.When = std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
    reading.Monotonic = std::chrono::steady_clock::now();
    if (FInstrument == nullptr) {
        const double shown = WarmupLED->Checked() ? 1.0 : Lambda;
        Lambda1->SetValue(shown);
        Meter1->SetValue(static_cast<float>(shown));
    } else {
        // The alarm's hold times run on the reading's own monotonic time.
        FInstrument->Reading(
            std::chrono::duration<double>(reading.Monotonic.time_since_epoch()).count(), Lambda,
            WarmupLED->Checked());
    }
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

namespace {
// The log's file types in the save dialog, in the order of TLogKind.
const QStringList LogFilters = {"Data log (*.txt)", "MSL log (*.msl)", "CSV (*.csv)"};
const char* const LogFolderKey = "DataLog/Folder";

QSettings ProgramSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "uego4100", "uego4100");
}

double SecondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}
} // namespace

void TForm1::OfferLogFileTypes() {
    // The file type chosen gives a name typed without a suffix its suffix.
    SaveTextFileDialog1->setNameFilters(LogFilters);
    connect(SaveTextFileDialog1, &QFileDialog::filterSelected, this, [this](const QString& filter) {
        const qsizetype index = LogFilters.indexOf(filter);
        SaveTextFileDialog1->setDefaultSuffix(
            LogKindSuffix(static_cast<TLogKind>(std::max<qsizetype>(index, 0))));
    });
    const QString folder = ProgramSettings().value(LogFolderKey).toString();
    if (!folder.isEmpty()) {
        SaveTextFileDialog1->setDirectory(folder);
    }
}

void TForm1::CreateLogControls() {
    // Below the log controls' frame, where no other control is.
    MarkButton = new QPushButton("Mark", centralWidget());
    MarkButton->setObjectName("MarkButton");
    MarkButton->setGeometry(18, 290, 75, 25);
    MarkButton->setToolTip("Write a numbered marker into the log (F9)");
    MarkButton->setVisible(false);
    connect(MarkButton, &QPushButton::clicked, this,
            [this] { GuardedCall([this] { MarkClick(); }); });
    auto* f9 = new QShortcut(QKeySequence(Qt::Key_F9), this);
    connect(f9, &QShortcut::activated, this, [this] { GuardedCall([this] { MarkClick(); }); });
}

std::optional<TLogKind> TForm1::LogKind() const {
    if (!LogOn) {
        return std::nullopt;
    }
    return FLogWriter ? FLogWriter->Kind() : TLogKind::Text;
}

void TForm1::AppendLogLine(const TDecodedReading& reading) {
    if (!FLogWriter) {
        // A log opened without StartLog is the text log.
        FLogWriter = MakeLogWriter(TLogKind::Text);
        FLogStarted = reading.Monotonic;
    }
    TLogRecord record;
    record.Wall = std::chrono::floor<std::chrono::milliseconds>(reading.When);
    record.Elapsed = SecondsBetween(FLogStarted, reading.Monotonic);
    record.Lambda = reading.Lambda;
    record.Volts = reading.Volts;
    record.Warmup = reading.Warmup;
    try {
        Logfile.WriteLine(FLogWriter->Reading(record));
    } catch (...) {
        // The log has closed itself: show it as stopped, report the error once.
        CloseLogAfterFailure();
        throw;
    }
}

void TForm1::ShowLogStopped() {
    LogOn = false;
    DiskLED->SetChecked(false);
    MarkButton->setVisible(false);
}

void TForm1::CloseLogAfterFailure() {
    ShowLogStopped();
}

bool TForm1::ChooseLogFile(std::string& path, TLogKind& kind) {
    if (SaveTextFileDialog1 == nullptr) {
        CreateSaveTextFileDialog();
        OfferLogFileTypes();
    }
    if (SaveTextFileDialog1->exec() != QDialog::Accepted) {
        return false;
    }
    const QStringList files = SaveTextFileDialog1->selectedFiles();
    if (files.isEmpty()) {
        return false;
    }
    path = files.first().toStdString();
    // A suffix typed decides; else the file type chosen.
    const qsizetype chosen = LogFilters.indexOf(SaveTextFileDialog1->selectedNameFilter());
    kind = LogKindOfPath(path).value_or(static_cast<TLogKind>(std::max<qsizetype>(chosen, 0)));
    ProgramSettings().setValue(LogFolderKey, SaveTextFileDialog1->directory().absolutePath());
    return true;
}

void TForm1::LogStartClick() {
    std::string path;
    TLogKind kind = TLogKind::Text;
    if (ChooseLogFile(path, kind)) {
        StartLog(path, kind);
    }
}

void TForm1::StartLog(const std::string& path, std::optional<TLogKind> kind,
                      TLogCreation creation) {
    if (LogOn) {
        // The current log is finished before the new file is made, so it stays complete
        // even when the same file is chosen again.
        ShowLogStopped();
        Logfile.Close();
    }
    NameOfFile = path;
    Logfile.Create(NameOfFile, creation);
    LogOn = true;
    DiskLED->SetChecked(true);
    FLogWriter = MakeLogWriter(kind.value_or(LogKindOfPath(path).value_or(TLogKind::Text)),
                               LogFuel ? LogFuel() : TLogFuel());
    FLogStarted = std::chrono::steady_clock::now();
    FMarkCount = 0;
    Logfile.SetLineEnd(FLogWriter->LineEnd());
    try {
        Logfile.WriteLines(FLogWriter->Header(WallNow()));
    } catch (...) {
        CloseLogAfterFailure();
        throw;
    }
    StaticText2->setText(QString::fromStdString(NameOfFile));
    MarkButton->setVisible(FLogWriter->HasMarkers());
}

void TForm1::MarkClick() {
    if (!LogOn || !FLogWriter || !FLogWriter->HasMarkers()) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const TLogMarker marker{++FMarkCount, "Manual mark", WallNow(),
                            SecondsBetween(FLogStarted, now)};
    try {
        Logfile.WriteLine(FLogWriter->Marker(marker));
    } catch (...) {
        CloseLogAfterFailure();
        throw;
    }
    emit LogMarkerWritten(marker, now);
}

void TForm1::LogStopClick() {
    if (!LogOn) {
        return;
    }
    ShowLogStopped();
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

// ---- the driver's instrument -----------------------------------------------------------

void TForm1::Display1Click() {
    if (DisplayForm == nullptr) {
        DisplayForm = new TDisplayForm(this);
        connect(this, &QObject::destroyed, DisplayForm, [form = DisplayForm] { delete form; });
        DisplayForm->SetFuel(FStoichiometric, FFuelName);
        DisplayForm->SetSettings(FDisplay);
        DisplayForm->OnSettingsChanged = [this](const TDisplaySettings& s) {
            ApplyDisplaySettings(s);
        };
        DisplayForm->OnResetPeaks = [this] { ResetPeaks(); };
        ShowSoundProblem();
    }
    DisplayForm->ShowForm();
}

void TForm1::Dash1Click() {
    if (DashForm == nullptr) {
        DashForm = new TDashForm(this);
        DashForm->OnAcknowledge = [this] { AcknowledgeAlarm(); };
        DashForm->OnResetPeaks = [this] { ResetPeaks(); };
        DashForm->OnHidden = [this] {
            if (FInstrument != nullptr) {
                FInstrument->DashHidden();
            }
        };
        UpdateInstrument();
    }
    if (DashForm->isVisible()) {
        DashForm->close();
        return;
    }
    DashForm->ShowDash(screen());
    FInstrument->SetDash(DashForm);
}

void TForm1::NightTheme1Click(bool night) {
    TDisplaySettings s = FDisplay;
    s.NightTheme = night;
    ApplyDisplaySettings(s);
}

void TForm1::ApplyDisplaySettings(const TDisplaySettings& settings, bool remember) {
    FDisplay = settings;
    if (remember) {
        SaveDisplaySettings(settings);
    }
    ApplyNightTheme(settings.NightTheme);
    NightTheme1->setChecked(settings.NightTheme);
    UpdateInstrument();
    if (FInstrument == nullptr) {
        // Only the theme differs from the dial as laid out: the colour of its ticks.
        ApplyDialLook(*Meter1, DialLookFor(settings, FStoichiometric));
    }
    if (DisplayForm != nullptr && !(DisplayForm->Settings() == settings)) {
        DisplayForm->SetSettings(settings);
    }
    emit DisplaySettingsChanged(settings);
}

void TForm1::UpdateInstrument() {
    const bool needed = FDisplay.AnyOn() || DashForm != nullptr;
    if (needed && FInstrument == nullptr) {
        TInstrumentParts parts;
        parts.Window = this;
        parts.Dial = Meter1;
        parts.Number = Lambda1;
        parts.Volts = Value1;
        parts.Online = ONLINE;
        parts.Offline = OFFLINE;
        parts.Warmup = WarmupLED;
        FInstrument = std::make_unique<TInstrument>(parts, FSoundFactory);
        FInstrument->OnSoundProblemChanged = [this] { ShowSoundProblem(); };
        FInstrument->OnAlarmChanged = [this] {
            AcknowledgeKey->setEnabled(FInstrument->Alarm() != TMixtureSide::None);
        };
    }
    if (FInstrument == nullptr) {
        return;
    }
    FInstrument->Apply(FDisplay, FStoichiometric);
    if (DashForm != nullptr) {
        FInstrument->SetDash(DashForm);
    }
    if (!needed) {
        // Everything is off again: the instrument has put the window back as laid out.
        FInstrument.reset();
        AcknowledgeKey->setEnabled(false);
        ShowSoundProblem();
    }
}

void TForm1::InstrumentLinkChanged() {
    if (FInstrument != nullptr) {
        FInstrument->LinkChanged();
    }
}

void TForm1::ShowSoundProblem() {
    if (DisplayForm != nullptr) {
        DisplayForm->SetSoundProblem(FInstrument != nullptr ? FInstrument->SoundProblem()
                                                            : std::string());
    }
}

void TForm1::SetFuel(double stoichiometric, const std::string& name) {
    FStoichiometric = stoichiometric;
    FFuelName = name;
    if (DisplayForm != nullptr) {
        DisplayForm->SetFuel(stoichiometric, name);
    }
    if (FInstrument != nullptr && FDisplay.Units == TDisplayUnits::Afr) {
        FInstrument->Apply(FDisplay, FStoichiometric);
    }
}

void TForm1::AcknowledgeAlarm() {
    if (FInstrument != nullptr) {
        FInstrument->Acknowledge();
    }
}

void TForm1::ResetPeaks() {
    if (FInstrument != nullptr) {
        FInstrument->ResetPeaks();
    }
}

void TForm1::SetAlarmSoundFactory(TAlarmSoundFactory factory) {
    FSoundFactory = std::move(factory);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Meter1 && FInstrument != nullptr) {
        if (event->type() == QEvent::MouseButtonPress) {
            GuardedCall([this] { AcknowledgeAlarm(); });
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            GuardedCall([this] { ResetPeaks(); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- end -------------------------------------------------------------------------------

void TForm1::FormDestroy() {
    if (FDestroyed) {
        return;
    }
    FDestroyed = true;
    Timer1->SetEnabled(false);
    ReconnectTimer->SetEnabled(false);
    FInstrument.reset(); // its tone stops
    GuardedCall([this] {
        if (VaComm1->Active()) {
            VaComm1->Close();
        }
    });
    if (FDiagnostics) {
        FDiagnostics->PortReleased();
    }
    GuardedCall([this] {
        if (LogOn) {
            ShowLogStopped();
            Logfile.Close();
        }
    });
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormDestroy();
    event->accept();
    // The program ends with the main window, even when a dialog is still shown.
    for (QDialog* dialog : {static_cast<QDialog*>(CalForm), static_cast<QDialog*>(CANform),
                            static_cast<QDialog*>(AboutForm), static_cast<QDialog*>(ComPortForm),
                            static_cast<QDialog*>(DisplayForm)}) {
        if (dialog != nullptr) {
            dialog->hide();
        }
    }
    if (DashForm != nullptr) {
        DashForm->hide();
    }
}
