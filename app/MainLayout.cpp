// The main window's components, their places and the menu.
#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

#include "chart/ChartWindow.h"
#include "chart/LambdaPlot.h"
#include "dialogs/TextFit.h"
#include "monitor/DialLook.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtBind.h"
#include "platform/QtTimer.h"
#include "serial/VaComm.h"
#include "widgets/AbCachedPanel.h"
#include "widgets/AbLED.h"
#include "widgets/AbMeterFactory.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbNumEditFactory.h"
#include "widgets/AbRMeter.h"
#include "widgets/AbSwitch.h"

namespace {

constexpr int ClientWidth = 482;
constexpr int ClientHeight = 448;

QFont Tahoma(int pixelSize) {
    QFont f("Tahoma");
    // Where Tahoma is missing, prefer a sans face of similar width to the wide default.
    f.setFamilies({"Tahoma", "Liberation Sans", "Nimbus Sans", "Arial"});
    f.setPixelSize(pixelSize);
    return f;
}

QFrame* MakeBevel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(name);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(x, y, w, h);
    return bevel;
}

// A lamp of the LED's default size (13 x 13).
TAbLED* MakeLED(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                int h) {
    auto* led = new TAbLED(parent);
    led->setObjectName(name);
    led->SetCaption(caption);
    led->SetLED_Position(lpLeft);
    led->SetSpacing(5);
    led->SetChecked(false);
    led->setGeometry(x, y, w, h);
    return led;
}

// The link and warm-up lamps are larger than the default.
TAbLED* MakeLargeLED(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                     int h) {
    TAbLED* led = MakeLED(parent, name, caption, x, y, w, h);
    led->LED().SetWidth(20);
    led->LED().SetHeight(20);
    return led;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x, int y) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(x, y, 75, 25);
    return button;
}

// The chart's shaded bands for the display settings: none unless the bands are shown.
std::vector<TPlotBand> ChartBands(const TDisplaySettings& s) {
    if (!s.Bands) {
        return {};
    }
    auto shade = [](TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c), 45); };
    std::vector<TPlotBand> bands;
    bands.push_back({0, s.Limits.RichLimit, shade(RichBandColor)});
    if (s.Limits.Target) {
        bands.push_back({s.Limits.TargetLow, s.Limits.TargetHigh, shade(TargetBandColor)});
    }
    bands.push_back({s.Limits.LeanLimit, 100, shade(LeanBandColor)});
    return bands;
}

// Sizes the window so that the client area below the menu bar is 482 x 448.
void FitClientArea(QMainWindow* window) {
    window->layout()->activate();
    const QSize client = window->centralWidget()->size();
    window->resize(window->width() + ClientWidth - client.width(),
                   window->height() + ClientHeight - client.height());
}

} // namespace

void TForm1::CreateComponents() {
    setObjectName("Form1");
    setWindowTitle("UEGO 4100 Interface");
    setFont(Tahoma(11));
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    setCentralWidget(client);

    VaComm1 = new TVaComm();
    VaComm1->SetBaudrate(br19200);
    VaComm1->FlowControl().SetOutCtsFlow(false);
    VaComm1->FlowControl().SetOutDsrFlow(false);
    VaComm1->FlowControl().SetControlDtr(dtrDisabled);
    VaComm1->FlowControl().SetControlRts(rtsDisabled);
    VaComm1->FlowControl().SetXonXoffOut(false);
    VaComm1->FlowControl().SetXonXoffIn(false);
    VaComm1->FlowControl().SetDsrSensitivity(false);
    VaComm1->SetDeviceName("COM%d");
    VaComm1->SetPortNum(1);

    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(100);

    Meter1 = CreateMeter1(client);
    Meter1->setGeometry(121, 32, 337, 321);

    Bevel1 = MakeBevel(client, "Bevel1", 8, 32, 106, 74);
    ONLINE = MakeLargeLED(client, "ONLINE", "ONLINE", 12, 35, 73, 33);
    OFFLINE = MakeLargeLED(client, "OFFLINE", "OFFLINE", 12, 73, 73, 33);
    OFFLINE->LED().SetColorOn(clRed);

    Bevel3 = MakeBevel(client, "Bevel3", 8, 112, 106, 80);
    WarmupLED = MakeLargeLED(client, "WarmupLED", "WARMUP", 12, 116, 94, 33);
    Value1 = CreateValue1(client);
    Value1->setGeometry(18, 157, 48, 25);
    KeepTextWithinField(Value1);
    KeepPanelCached(Value1);
    StaticText3 = MakeLabel(client, "StaticText3", "Volts", 72, 162);
    StaticText3->setFont(Tahoma(13));
    StaticText3->adjustSize();

    Bevel2 = MakeBevel(client, "Bevel2", 8, 197, 106, 87);
    LogStart = MakeButton(client, "LogStart", "Log Start", 18, 203);
    LogStop = MakeButton(client, "LogStop", "Log Stop", 18, 230);
    DiskLED = MakeLED(client, "DiskLED", "Disk Log Active", 12, 256, 103, 33);

    Lambda1 = CreateLambda1(client);
    Lambda1->setGeometry(224, 359, 129, 56);
    KeepTextWithinField(Lambda1);
    KeepPanelCached(Lambda1); // repainted with every reading

    StaticText2 = MakeLabel(client, "StaticText2", QString(), 60, 497);
    KeepLabelFittedToText(StaticText2);

    AbToggleSwitch1 = new TAbToggleSwitch(client);
    AbToggleSwitch1->setObjectName("AbToggleSwitch1");
    AbToggleSwitch1->setGeometry(383, 370, 33, 57);
    AbToggleSwitch1->SetOrientation(boVertical);
    AbToggleSwitch1->SetTextOn("ON");
    AbToggleSwitch1->SetTextOff("OFF");
    AbToggleSwitch1->SetColorOn(clLime);
    AbToggleSwitch1->SetColorOff(clRed);
    AbToggleSwitch1->SetChecked(false);
    AbToggleSwitch1->setEnabled(false);
    AbToggleSwitch1->setVisible(false);

    StringGrid1 = new QTableWidget(20, 3, client);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setGeometry(464, 0, 217, 521);
    StringGrid1->setVisible(false);
}

// Made at the first "Log Start": a file dialog and its folder model are a megabyte or two
// that a run without a log does not need.
void TForm1::CreateSaveTextFileDialog() {
    SaveTextFileDialog1 = new QFileDialog(this);
    SaveTextFileDialog1->setObjectName("SaveTextFileDialog1");
    SaveTextFileDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveTextFileDialog1->setFileMode(QFileDialog::AnyFile);
    SaveTextFileDialog1->setDefaultSuffix("txt");
    SaveTextFileDialog1->setNameFilter("txt (*.txt)");
    SaveTextFileDialog1->setOption(QFileDialog::DontUseNativeDialog, true);
    SaveTextFileDialog1->setSizeGripEnabled(true);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!FClientSized) {
        FClientSized = true;
        // Once more, in case polishing for the screen changed the menu bar's height.
        FitClientArea(this);
    }
}

void TForm1::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    Setup1 = bar->addMenu("Setup");
    Setup1->setObjectName("Setup1");
    ComPort1 = Setup1->addAction("Com Port");
    ComPort1->setObjectName("ComPort1");
    Calibration1 = Setup1->addAction("Sensor  Calibration");
    Calibration1->setObjectName("Calibration1");
    Calibration1->setEnabled(false);
    CANSetup1 = Setup1->addAction("CAN Setup");
    CANSetup1->setObjectName("CANSetup1");
    CANSetup1->setEnabled(false);
    // Setup > Display...: the driver's instrument, all of it off until turned on.
    Display1 = Setup1->addAction("Display...");
    Display1->setObjectName("Display1");
    // View > Lambda Chart: a window of its own that records every decoded reading.
    View1 = bar->addMenu("View");
    View1->setObjectName("View1");
    LambdaChart1 = View1->addAction("Lambda Chart");
    LambdaChart1->setObjectName("LambdaChart1");
    // The chart records from the start; its controls and plot are made when it is opened.
    ChartForm = new TChartForm(this, TChartBuild::OnFirstShow);
    connect(this, &TForm1::LiveReadingDecoded, ChartForm, &TChartForm::AddReading);
    connect(this, &TForm1::LinkStatusChanged, ChartForm, &TChartForm::LinkStatusChanged);
    connect(this, &TForm1::LogMarkerWritten, ChartForm, &TChartForm::LogMarkerWritten);
    LogFuel = [this] { return ChartForm->Fuel(); };
    connect(LambdaChart1, &QAction::triggered, ChartForm,
            [this] { GuardedCall([this] { ChartForm->ShowForm(); }); });
    // One fuel for both windows: the chart's choice gives the AFR of the dial and the number.
    SetFuel(ChartForm->Settings().Stoichiometric(), ChartForm->FuelName());
    connect(ChartForm, &TChartForm::FuelChanged, this,
            [this](double ratio, const QString& name) { SetFuel(ratio, name.toStdString()); });
    connect(this, &TForm1::DisplaySettingsChanged, ChartForm,
            [this](const TDisplaySettings& s) { ChartForm->SetBands(ChartBands(s)); });
    Dash1 = View1->addAction("Dash");
    Dash1->setObjectName("Dash1");
    Dash1->setShortcut(Qt::Key_F11);
    NightTheme1 = View1->addAction("Night Theme");
    NightTheme1->setObjectName("NightTheme1");
    NightTheme1->setCheckable(true);
    // Space acknowledges an alarm, and only while one stands, so it presses no button then.
    AcknowledgeKey = new QShortcut(Qt::Key_Space, this);
    AcknowledgeKey->setEnabled(false);
    About1 = bar->addAction("About");
    About1->setObjectName("About1");
    // The window gets its size once the menu bar has its items and so its height.
    FitClientArea(this);
}

void TForm1::ConnectHandlers() {
    Timer1->OnTimer = [this](TTimer* sender) { Timer1Timer(sender); };
    AbToggleSwitch1->OnStatusChanged = [this](QObject* sender) {
        GuardedCall([&] { AbToggleSwitch1StatusChanged(sender); });
    };
    VaComm1->OnRxChar = [this](TVaCustomComm* sender, int count) { VaComm1RxChar(sender, count); };
    Bind(LogStart, &QPushButton::clicked, this, &TForm1::LogStartClick);
    Bind(LogStop, &QPushButton::clicked, this, &TForm1::LogStopClick);
    Bind(ComPort1, &QAction::triggered, this, &TForm1::ComPort1Click);
    Bind(Calibration1, &QAction::triggered, this, &TForm1::Calibration1Click);
    Bind(CANSetup1, &QAction::triggered, this, &TForm1::CANSetup1Click);
    Bind(About1, &QAction::triggered, this, &TForm1::About1Click);
    Bind(Display1, &QAction::triggered, this, &TForm1::Display1Click);
    Bind(Dash1, &QAction::triggered, this, &TForm1::Dash1Click);
    Bind(NightTheme1, &QAction::triggered, this, &TForm1::NightTheme1Click);
    Bind(AcknowledgeKey, &QShortcut::activated, this, &TForm1::AcknowledgeAlarm);
    Meter1->installEventFilter(this);
}
