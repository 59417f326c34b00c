#pragma once
// The main window "UEGO 4100 Interface": live monitoring of the WBX4100 controller (poll tick,
// link watchdog, receive dispatcher) and the data log. The layout and menu are built in
// app/MainLayout.cpp; the state shared with the dialogs lives in the unit-level variables
// below, touched only on the user-interface thread.
#include <QMainWindow>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "datalog/DataLog.h"
#include "datalog/LogWriter.h"
#include "dialogs/DialogLine.h"
#include "dialogs/DisplaySettings.h"
#include "monitor/AlarmSound.h"
#include "monitor/LinkHint.h" // TLinkStatus

class QAction;
class QFileDialog;
class QFrame;
class QLabel;
class QMenu;
class QTableWidget;
class QPushButton;
class TAbLED;
class TAbNumEdit;
class TAbToggleSwitch;
class TAb270Meter;
class QShortcut;
class TChartForm;
class TDashForm;
class TDisplayForm;
class TInstrument;
class TDeviceWatch;
class TRunDiagnostics;
class TTimer;
class TVaComm;
class TVaCustomComm;

// Unit-level state of the monitoring logic.
extern bool Lambda_request;   // a live-data reply is expected
extern bool CALrequest;       // a calibration reply is expected
extern bool CANrequest;       // a CAN reply is expected
extern int32_t Offline_count; // poll ticks since a byte was last received, capped at 10
extern double Lambda;         // last decoded lambda
extern uint8_t Batt_raw;      // last raw supply-voltage byte
extern uint16_t CALrich;
extern uint16_t CALlean;
extern int32_t FirmwareVersion; // in tenths
extern uint16_t CANaddress;
extern uint8_t CANspeed; // CAN bit-rate code: last read or last chosen
extern bool LogOn;       // a data log is open
extern TDataLog Logfile;
extern std::string NameOfFile;

// One decoded live-data reply, as the displays and the log received it. `Lambda` is the
// measured value, also during warm-up when the displays show 1.
struct TDecodedReading {
    std::chrono::system_clock::time_point When;        // the wall clock, to the millisecond
    std::chrono::steady_clock::time_point Monotonic{}; // the monotonic clock
    std::tm LocalTime{};                               // the time of day the log line carries
    double Lambda = 0;
    double Volts = 0;
    bool Warmup = false;
};

// Puts every unit-level variable back to its start value (the log is closed).
void ResetSerialTestState();

class TForm1 : public QMainWindow, public TDialogLine {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Writes one request byte to the controller; the result of the write is ignored.
    void Sendbyte(uint8_t data) override;

    // The line as the setup windows reach it.
    QWidget* MainWindow() override;
    TVaComm* Port() override;
    void SetPolling(bool on) override;
    void StopPollTimer() override;
    void PurgeRead() override;
    void SetDiagnosticsCell(int col, int row, const QString& text) override;
    bool Online() const override;
    bool LiveReplyExpected() const override;
    void ExpectReply(TExpectedReply reply) override;
    uint8_t CanSpeed() const override;
    void SetCanSpeed(uint8_t code) override;
    void SetLinkMenuEnabled(bool enabled) override;

    // Handlers.
    void Timer1Timer(TTimer* Sender);
    void AbToggleSwitch1StatusChanged(QObject* Sender);
    void VaComm1RxChar(TVaCustomComm* Sender, int Count);
    void LogStartClick();
    // What "Log Start" does once a file is chosen: the current log is finished, `path` is
    // created (or emptied, when `creation` allows), the header written, the lamp lit and the
    // path shown. The log is written in `kind`, else in the format its suffix names, else as
    // the text log.
    void StartLog(const std::string& path, std::optional<TLogKind> kind = std::nullopt,
                  TLogCreation creation = TLogCreation::Replace);
    void LogStopClick();
    // "Mark" and F9: a numbered marker into an MSL or CSV log being written; nothing otherwise.
    void MarkClick();
    // The format of the log being written.
    std::optional<TLogKind> LogKind() const;
    void ComPort1Click();
    void Calibration1Click();
    void CANSetup1Click();
    void About1Click();
    void Display1Click();
    // View > Dash (F11): shows the dash view, or leaves it.
    void Dash1Click();
    void NightTheme1Click(bool night);
    // Looks after the open port's device: notices it gone, reopens it when it is back.
    void ReconnectTimerTimer(TTimer* Sender);
    // The user chooses a port: a lost device is no longer waited for.
    void ForgetLostDevice() override;
    // The opened device is gone and the program waits for it to return.
    bool DeviceLost() const;
    // Closes the port, then the log. Runs once, when the main window closes or is destroyed.
    void FormDestroy();

    // The driver's instrument (Setup > Display...). Applies the settings at once and, when
    // `remember` is set, writes them to the settings file.
    void ApplyDisplaySettings(const TDisplaySettings& settings, bool remember = true);
    const TDisplaySettings& DisplaySettings() const { return FDisplay; }
    // The fuel chosen in the chart window, for AFR.
    void SetFuel(double stoichiometric, const std::string& name);
    // A click on the dial or Space while an alarm stands: the tone stops.
    void AcknowledgeAlarm();
    // "Reset peaks" or a double-click on the dial.
    void ResetPeaks();
    // What makes the alarm's tone (tests hand a recorder); used when sound is turned on.
    void SetAlarmSoundFactory(TAlarmSoundFactory factory);
    // The instrument while anything of it is on or the dash exists; otherwise nothing, and
    // the readings take the path they always have.
    TInstrument* Instrument() const { return FInstrument.get(); }

    // Components (named as in the window's definition).
    TVaComm* VaComm1 = nullptr;
    TTimer* Timer1 = nullptr;
    // Twice a second while a port the user opened is open or its device is awaited.
    TTimer* ReconnectTimer = nullptr;
    TAb270Meter* Meter1 = nullptr;
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QFrame* Bevel3 = nullptr;
    TAbLED* ONLINE = nullptr;
    TAbLED* OFFLINE = nullptr;
    TAbLED* WarmupLED = nullptr;
    TAbLED* DiskLED = nullptr;
    TAbNumEdit* Value1 = nullptr;
    TAbNumEdit* Lambda1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QPushButton* LogStart = nullptr;
    QPushButton* LogStop = nullptr;
    QPushButton* MarkButton = nullptr; // shown only while an MSL or CSV log is written
    TAbToggleSwitch* AbToggleSwitch1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QFileDialog* SaveTextFileDialog1 = nullptr; // made at the first "Log Start"
    QMenu* Setup1 = nullptr;
    QAction* ComPort1 = nullptr;
    QAction* Calibration1 = nullptr;
    QAction* CANSetup1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Display1 = nullptr;         // Setup > Display...
    QAction* Dash1 = nullptr;            // View > Dash, F11
    QAction* NightTheme1 = nullptr;      // View > Night Theme
    TDisplayForm* DisplayForm = nullptr; // made when first shown
    TDashForm* DashForm = nullptr;       // made when first shown
    QShortcut* AcknowledgeKey = nullptr; // Space, while an alarm stands
    QMenu* View1 = nullptr;
    QAction* LambdaChart1 = nullptr;
    TChartForm* ChartForm = nullptr; // "Lambda Chart", fed by the signals below
    // The fuel whose AFR an MSL or CSV log carries (the chart's choice); gasoline when unset.
    std::function<TLogFuel()> LogFuel;

    // Cell of the hidden diagnostics table (column, row).
    std::string Cell(int col, int row) const;

signals:
    // After every live-data reply decoded into the displays (before its log line is written).
    void LiveReadingDecoded(const TDecodedReading& reading);
    // When the link lamps change between ONLINE and OFFLINE, when the opened device is found
    // gone, and when it has been opened again.
    void LinkStatusChanged(TLinkStatus status);
    // After the display settings changed (the chart shows the bands).
    void DisplaySettingsChanged(const TDisplaySettings& settings);
    // After a marker was written into the log; `monotonic` is when.
    void LogMarkerWritten(const TLogMarker& marker,
                          std::chrono::steady_clock::time_point monotonic);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The first showing sizes the window so the client area below the menu is 482 x 448.
    void showEvent(QShowEvent* event) override;
    // Clicks on the dial: acknowledge, double-click: reset the peaks.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Built in app/MainLayout.cpp.
    void CreateComponents();
    void CreateSaveTextFileDialog();
    void OfferLogFileTypes();
    void CreateMenu();
    void ConnectHandlers();

    void SetCell(int col, int row, const std::string& text);
    void LinkActivity();
    void LinkTick();
    void LiveDataReply();
    void CalibrationReply();
    void CanReply();
    uint8_t NextByte();
    void AppendLogLine(const TDecodedReading& reading);
    void CloseLogAfterFailure();
    bool ChooseLogFile(std::string& path, TLogKind& kind);
    void CreateLogControls();
    void ShowLogStopped();
    void CreateDeviceWatch();
    void PortStateChanged();
    void ShowLinkDown();
    void ShowDeviceGone();
    void ShowReconnected();
    void UpdateOfflineHint();
    void UpdateInstrument();
    void InstrumentLinkChanged();
    void ShowSoundProblem();

    std::unique_ptr<TDeviceWatch> FWatch;
    // The log being written: its format, when it started, its markers so far.
    std::unique_ptr<TLogWriter> FLogWriter;
    std::chrono::steady_clock::time_point FLogStarted;
    int FMarkCount = 0;
    std::unique_ptr<TRunDiagnostics> FDiagnostics;
    std::unique_ptr<TInstrument> FInstrument;
    TAlarmSoundFactory FSoundFactory = CreateAlarmSound;
    TDisplaySettings FDisplay;
    double FStoichiometric = 14.7;
    std::string FFuelName = "Gasoline";

    bool FDestroyed = false;
    bool FClientSized = false;
};

extern TForm1* Form1;
