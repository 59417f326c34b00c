#include "DisplayDialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "format/Formatting.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtBind.h"
#include "platform/ScopedFlag.h"

namespace {

QLineEdit* MakeLimitEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(64);
    return edit;
}

QDoubleSpinBox* MakeSpin(QWidget* parent, const char* name, double max, double step, int decimals,
                         const QString& suffix) {
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, max);
    spin->setSingleStep(step);
    spin->setDecimals(decimals);
    spin->setSuffix(suffix);
    spin->setKeyboardTracking(false);
    return spin;
}

QLabel* MakeMessage(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setVisible(false);
    return label;
}

// Messages in red that stays readable on a light and on a dark (night) window.
void ColourMessage(QLabel* label, const QPalette& window) {
    const bool dark = window.color(QPalette::Window).lightness() < 128;
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, dark ? QColor(255, 110, 100) : QColor(200, 0, 0));
    label->setPalette(p);
}

// A number typed with a decimal point or comma, whatever the regional separator.
bool ParseTyped(const QLineEdit* edit, double& value) {
    std::string text = edit->text().toStdString();
    const char separator = RegionalSettings().DecimalSeparator;
    for (char& c : text) {
        if (c == '.' || c == ',') {
            c = separator;
        }
    }
    return TryStrToFloat(text, value);
}

void SetMessage(QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
    label->setVisible(!text.empty());
}

} // namespace

TDisplayForm::TDisplayForm(QWidget* mainWindow) : TDialogForm(mainWindow, "Display", 400, 500) {
    setObjectName("DisplayForm");
    auto* root = new QVBoxLayout(this);
    root->addWidget(CreateLimits());
    root->addWidget(CreateAlarm());
    root->addWidget(CreateShown());
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    CloseButton = new QPushButton("Close", this);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setAutoDefault(false);
    buttons->addWidget(CloseButton);
    root->addLayout(buttons);
    ConnectHandlers();
    ColourMessages();
    SetSettings(FSettings);
    // Room for the longest messages, so the window never has to grow.
    root->activate();
    setFixedSize(std::max(400, root->sizeHint().width()), root->sizeHint().height() + 40);
}

QGroupBox* TDisplayForm::CreateLimits() {
    auto* box = new QGroupBox("Mixture limits", this);
    auto* grid = new QGridLayout(box);
    RichEdit = MakeLimitEdit(box, "RichEdit");
    LeanEdit = MakeLimitEdit(box, "LeanEdit");
    TargetCheck = new QCheckBox("Target band from", box);
    TargetCheck->setObjectName("TargetCheck");
    TargetLowEdit = MakeLimitEdit(box, "TargetLowEdit");
    TargetHighEdit = MakeLimitEdit(box, "TargetHighEdit");
    grid->addWidget(new QLabel("Rich below", box), 0, 0);
    grid->addWidget(RichEdit, 0, 1);
    grid->addWidget(new QLabel("Lean above", box), 0, 2);
    grid->addWidget(LeanEdit, 0, 3);
    grid->addWidget(TargetCheck, 1, 0);
    grid->addWidget(TargetLowEdit, 1, 1);
    grid->addWidget(new QLabel("to", box), 1, 2);
    grid->addWidget(TargetHighEdit, 1, 3);
    BandsCheck = new QCheckBox("Show the bands on the dial and in the chart", box);
    BandsCheck->setObjectName("BandsCheck");
    grid->addWidget(BandsCheck, 2, 0, 1, 5);
    LimitsMessage = MakeMessage(box, "LimitsMessage");
    grid->addWidget(LimitsMessage, 3, 0, 1, 5);
    grid->setColumnStretch(4, 1);
    return box;
}

QGroupBox* TDisplayForm::CreateAlarm() {
    auto* box = new QGroupBox("Alarm", this);
    auto* grid = new QGridLayout(box);
    LeanAlarmCheck = new QCheckBox("Lean alarm", box);
    LeanAlarmCheck->setObjectName("LeanAlarmCheck");
    RichAlarmCheck = new QCheckBox("Rich alarm", box);
    RichAlarmCheck->setObjectName("RichAlarmCheck");
    HoldSpin = MakeSpin(box, "HoldSpin", MaxHoldSeconds, 0.1, 1, " s");
    HysteresisSpin = MakeSpin(box, "HysteresisSpin", MaxHysteresis, 0.01, 2, "");
    SoundCheck = new QCheckBox("Sound a tone until acknowledged", box);
    SoundCheck->setObjectName("SoundCheck");
    SoundMessage = MakeMessage(box, "SoundMessage");
    grid->addWidget(LeanAlarmCheck, 0, 0);
    grid->addWidget(RichAlarmCheck, 0, 1);
    grid->addWidget(new QLabel("Past the limit for", box), 1, 0);
    grid->addWidget(HoldSpin, 1, 1);
    grid->addWidget(new QLabel("Clears when back inside by", box), 2, 0);
    grid->addWidget(HysteresisSpin, 2, 1);
    grid->addWidget(new QLabel("lambda", box), 2, 2);
    grid->addWidget(SoundCheck, 3, 0, 1, 3);
    grid->addWidget(SoundMessage, 4, 0, 1, 3);
    auto* hint = new QLabel("A click on the dial or Space acknowledges the alarm.", box);
    hint->setWordWrap(true);
    grid->addWidget(hint, 5, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return box;
}

QGroupBox* TDisplayForm::CreateShown() {
    auto* box = new QGroupBox("Shown reading", this);
    auto* grid = new QGridLayout(box);
    LambdaRadio = new QRadioButton("Lambda", box);
    LambdaRadio->setObjectName("LambdaRadio");
    AfrRadio = new QRadioButton("AFR", box);
    AfrRadio->setObjectName("AfrRadio");
    DampingSpin = MakeSpin(box, "DampingSpin", MaxDampingSeconds, 0.1, 1, " s");
    DampingSpin->setSpecialValueText("off");
    PeakHoldCheck = new QCheckBox("Peak hold", box);
    PeakHoldCheck->setObjectName("PeakHoldCheck");
    ResetPeaksButton = new QPushButton("Reset peaks", box);
    ResetPeaksButton->setObjectName("ResetPeaksButton");
    ResetPeaksButton->setAutoDefault(false);
    NightCheck = new QCheckBox("Night theme", box);
    NightCheck->setObjectName("NightCheck");
    grid->addWidget(new QLabel("Units", box), 0, 0);
    grid->addWidget(LambdaRadio, 0, 1);
    grid->addWidget(AfrRadio, 0, 2, 1, 2);
    grid->addWidget(new QLabel("Damping", box), 1, 0);
    grid->addWidget(DampingSpin, 1, 1);
    grid->addWidget(PeakHoldCheck, 2, 0);
    grid->addWidget(ResetPeaksButton, 2, 1);
    grid->addWidget(NightCheck, 3, 0, 1, 2);
    grid->setColumnStretch(3, 1);
    return box;
}

void TDisplayForm::ConnectHandlers() {
    for (QLineEdit* edit : {RichEdit, LeanEdit, TargetLowEdit, TargetHighEdit}) {
        Bind(edit, &QLineEdit::editingFinished, this, &TDisplayForm::LimitEditDone);
    }
    for (QCheckBox* check : {TargetCheck, BandsCheck, LeanAlarmCheck, RichAlarmCheck, SoundCheck,
                             PeakHoldCheck, NightCheck}) {
        Bind(check, &QCheckBox::toggled, this, &TDisplayForm::ChoiceChanged);
    }
    for (QDoubleSpinBox* spin : {HoldSpin, HysteresisSpin, DampingSpin}) {
        Bind(spin, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
             &TDisplayForm::ChoiceChanged);
    }
    Bind(AfrRadio, &QRadioButton::toggled, this, &TDisplayForm::UnitsChanged);
    connect(ResetPeaksButton, &QPushButton::clicked, this, [this] {
        if (OnResetPeaks) {
            GuardedCall(OnResetPeaks);
        }
    });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

double TDisplayForm::Factor() const {
    return FSettings.Units == TDisplayUnits::Afr ? FStoichiometric : 1.0;
}

std::string TDisplayForm::UnitName() const {
    return FSettings.Units == TDisplayUnits::Afr ? "AFR" : "lambda";
}

void TDisplayForm::SetSettings(const TDisplaySettings& s) {
    TScopedFlag showing(FShowing);
    FSettings = s;
    TargetCheck->setChecked(s.Limits.Target);
    BandsCheck->setChecked(s.Bands);
    LeanAlarmCheck->setChecked(s.LeanAlarm);
    RichAlarmCheck->setChecked(s.RichAlarm);
    HoldSpin->setValue(s.HoldSeconds);
    HysteresisSpin->setValue(s.Hysteresis);
    SoundCheck->setChecked(s.Sound);
    LambdaRadio->setChecked(s.Units == TDisplayUnits::Lambda);
    AfrRadio->setChecked(s.Units == TDisplayUnits::Afr);
    DampingSpin->setValue(s.DampingSeconds);
    PeakHoldCheck->setChecked(s.PeakHold);
    NightCheck->setChecked(s.NightTheme);
    ShowLimits();
    UpdateEnabling();
}

void TDisplayForm::SetFuel(double stoichiometric, const std::string& name) {
    FStoichiometric = stoichiometric;
    FFuelName = name;
    AfrRadio->setText(
        QString::fromStdString("AFR (" + name + ", " + FloatToStr(stoichiometric) + ")"));
    ShowLimits();
}

void TDisplayForm::SetSoundProblem(const std::string& text) {
    SetMessage(SoundMessage, text);
}

void TDisplayForm::ShowLimits() {
    const double factor = Factor();
    auto show = [factor](QLineEdit* edit, double lambda) {
        edit->setText(QString::fromStdString(FormatFloat("0.00#", lambda * factor)));
    };
    show(RichEdit, FSettings.Limits.RichLimit);
    show(LeanEdit, FSettings.Limits.LeanLimit);
    show(TargetLowEdit, FSettings.Limits.TargetLow);
    show(TargetHighEdit, FSettings.Limits.TargetHigh);
    const QString unit = QString::fromStdString(UnitName());
    for (QLineEdit* edit : {RichEdit, LeanEdit, TargetLowEdit, TargetHighEdit}) {
        edit->setToolTip(unit);
    }
    SetMessage(LimitsMessage, {});
}

void TDisplayForm::UpdateEnabling() {
    TargetLowEdit->setEnabled(TargetCheck->isChecked());
    TargetHighEdit->setEnabled(TargetCheck->isChecked());
    const bool alarm = LeanAlarmCheck->isChecked() || RichAlarmCheck->isChecked();
    HoldSpin->setEnabled(alarm);
    HysteresisSpin->setEnabled(alarm);
    SoundCheck->setEnabled(alarm);
    ResetPeaksButton->setEnabled(PeakHoldCheck->isChecked());
}

void TDisplayForm::LimitEditDone() {
    if (FShowing) {
        return;
    }
    TMixtureLimits typed = FSettings.Limits;
    double rich = 0, lean = 0, low = 0, high = 0;
    if (!ParseTyped(RichEdit, rich) || !ParseTyped(LeanEdit, lean) ||
        !ParseTyped(TargetLowEdit, low) || !ParseTyped(TargetHighEdit, high)) {
        SetMessage(LimitsMessage, "Type each limit as a number, such as " +
                                      FormatFloat("0.00", 1.05 * Factor()) +
                                      ". The limits in use stay.");
        return;
    }
    const double factor = Factor();
    typed.RichLimit = rich / factor;
    typed.LeanLimit = lean / factor;
    typed.TargetLow = low / factor;
    typed.TargetHigh = high / factor;
    const std::string problem =
        CheckMixtureLimits(typed, DialLambdaFrom, DialLambdaTo, UnitName(), factor);
    if (!problem.empty()) {
        SetMessage(LimitsMessage, problem + " The limits in use stay.");
        return;
    }
    SetMessage(LimitsMessage, {});
    if (typed == FSettings.Limits) {
        return;
    }
    FSettings.Limits = typed;
    Report();
}

void TDisplayForm::ChoiceChanged() {
    if (FShowing) {
        return;
    }
    FSettings.Limits.Target = TargetCheck->isChecked();
    if (FSettings.Limits.Target &&
        !CheckMixtureLimits(FSettings.Limits, DialLambdaFrom, DialLambdaTo, UnitName(), Factor())
             .empty()) {
        // A target band that does not fit the limits is put in the middle of them.
        const double middle = (FSettings.Limits.RichLimit + FSettings.Limits.LeanLimit) / 2;
        const double half = (FSettings.Limits.LeanLimit - FSettings.Limits.RichLimit) / 6;
        FSettings.Limits.TargetLow = middle - half;
        FSettings.Limits.TargetHigh = middle + half;
        ShowLimits();
    }
    FSettings.Bands = BandsCheck->isChecked();
    FSettings.LeanAlarm = LeanAlarmCheck->isChecked();
    FSettings.RichAlarm = RichAlarmCheck->isChecked();
    FSettings.HoldSeconds = HoldSpin->value();
    FSettings.Hysteresis = HysteresisSpin->value();
    FSettings.Sound = SoundCheck->isChecked();
    FSettings.DampingSeconds = DampingSpin->value();
    FSettings.PeakHold = PeakHoldCheck->isChecked();
    FSettings.NightTheme = NightCheck->isChecked();
    UpdateEnabling();
    Report();
}

void TDisplayForm::UnitsChanged() {
    if (FShowing) {
        return;
    }
    FSettings.Units = AfrRadio->isChecked() ? TDisplayUnits::Afr : TDisplayUnits::Lambda;
    ShowLimits();
    Report();
}

void TDisplayForm::ColourMessages() {
    ColourMessage(LimitsMessage, palette());
    ColourMessage(SoundMessage, palette());
}

void TDisplayForm::changeEvent(QEvent* event) {
    TDialogForm::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        ColourMessages();
    }
}

void TDisplayForm::Report() {
    if (OnSettingsChanged) {
        OnSettingsChanged(FSettings);
    }
}
