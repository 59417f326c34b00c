#include "DashWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include "BigNumber.h"
#include "format/Formatting.h"
#include "platform/ErrorDisplay.h"
#include "widgets/AbLED.h"
#include "widgets/AbMeterFactory.h"
#include "widgets/AbRMeter.h"

namespace {

const QColor AlarmColor(230, 0, 0);

QFont SansFont(int pixels, bool bold = false) {
    QFont f;
    f.setFamilies({"Liberation Sans", "Nimbus Sans", "DejaVu Sans", "Arial"});
    f.setPixelSize(std::max(6, pixels));
    f.setBold(bold);
    return f;
}

QFont ArialFont(int pixels) {
    QFont f("Arial");
    f.setPixelSize(std::max(6, pixels));
    return f;
}

TAbLED* MakeLamp(QWidget* parent, const char* name, const char* caption, TColor on) {
    auto* led = new TAbLED(parent);
    led->setObjectName(name);
    led->SetCaption(caption);
    led->SetLED_Position(lpLeft);
    led->SetSpacing(10);
    led->LED().SetColorOn(on);
    return led;
}

void SetLabelText(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
    }
}

} // namespace

TDashForm::TDashForm(QObject* owner) : QWidget(nullptr) {
    CreateComponents();
    if (owner != nullptr) {
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
    }
}

void TDashForm::CreateComponents() {
    setObjectName("DashForm");
    setWindowTitle("Dash");
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);

    Number = new TBigNumber(this);
    Number->setObjectName("DashNumber");
    UnitText = new QLabel("LAMBDA", this);
    UnitText->setObjectName("DashUnit");
    UnitText->setAlignment(Qt::AlignCenter);
    Dial = CreateMeter1(this);
    Dial->setObjectName("DashDial");
    Dial->installEventFilter(this);
    VoltsText = new QLabel(this);
    VoltsText->setObjectName("DashVolts");
    VoltsText->setAlignment(Qt::AlignCenter);
    AlarmText = new QLabel(this);
    AlarmText->setObjectName("DashAlarm");
    AlarmText->setAlignment(Qt::AlignCenter);
    QPalette alarm = AlarmText->palette();
    alarm.setColor(QPalette::WindowText, AlarmColor);
    AlarmText->setPalette(alarm);
    OnlineLED = MakeLamp(this, "DashOnline", "ONLINE", clLime);
    OfflineLED = MakeLamp(this, "DashOffline", "OFFLINE", clRed);
    WarmupLED = MakeLamp(this, "DashWarmup", "WARMUP", clLime);
    resize(1024, 768);
}

void TDashForm::ShowDash(QScreen* screen) {
    // The screen's whole area first: without a window manager a full-screen request alone
    // leaves the window at its own size.
    if (screen != nullptr) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
}

void TDashForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceComponents();
}

// The dial as a square on the left, as high as the screen; the reading above the unit, the
// alarm state, the volts and the lamps in the column to its right.
void TDashForm::PlaceComponents() {
    const int w = width();
    const int h = height();
    const int margin = std::max(4, h / 40);
    const int side = std::max(40, std::min(h - 2 * margin, w * 58 / 100));
    Dial->setGeometry(margin, (h - side) / 2, side, side);
    Dial->ScaleSettings().SetFont(ArialFont(side * 19 / 337));
    Dial->setFont(ArialFont(side * 13 / 337));

    const int x = 2 * margin + side;
    const int column = std::max(40, w - x - margin);
    int y = margin;
    auto place = [&](QWidget* widget, int height) {
        widget->setGeometry(x, y, column, height);
        y += height;
    };
    place(Number, h * 40 / 100);
    UnitText->setFont(SansFont(h / 22, true));
    place(UnitText, h * 7 / 100);
    AlarmText->setFont(SansFont(h / 9, true));
    place(AlarmText, h * 15 / 100);
    VoltsText->setFont(SansFont(h / 13));
    place(VoltsText, h * 10 / 100);
    const int lampHeight = (h - margin - y) / 3;
    for (TAbLED* led : {OnlineLED, OfflineLED, WarmupLED}) {
        led->setFont(SansFont(std::min(lampHeight * 6 / 10, h / 18)));
        led->LED().SetWidth(std::min(80, lampHeight * 6 / 10));
        led->LED().SetHeight(std::min(80, lampHeight * 6 / 10));
        led->setGeometry(x + column / 5, y, column * 4 / 5, lampHeight);
        y += lampHeight;
    }
}

void TDashForm::ApplyLook(const TDialLook& look) {
    ApplyDialLook(*Dial, look);
    FNumberFormat = look.Scale.NumberFormat;
    SetLabelText(UnitText, QString::fromStdString(look.Scale.Name));
}

void TDashForm::ShowValue(double shown) {
    Dial->SetValue(static_cast<float>(shown));
    Number->SetText(QString::fromStdString(FormatFloat(FNumberFormat, shown)));
}

void TDashForm::ShowVolts(double volts) {
    SetLabelText(VoltsText, QString::fromStdString(FormatFloat("#0.0", volts)) + " V");
}

void TDashForm::ShowLamps(bool online, bool offline, bool warmup) {
    OnlineLED->SetChecked(online);
    OfflineLED->SetChecked(offline);
    WarmupLED->SetChecked(warmup);
}

void TDashForm::ShowAlarm(TMixtureSide side, bool silenced) {
    QString text;
    if (side != TMixtureSide::None) {
        text = side == TMixtureSide::Lean ? "LEAN" : "RICH";
        if (silenced) {
            text += " (silenced)";
        }
    }
    SetLabelText(AlarmText, text);
    Number->SetColor(side != TMixtureSide::None ? AlarmColor : QColor());
    Dial->SetAlarmFlash(side != TMixtureSide::None);
}

void TDashForm::ShowExtremes(float min, float max) {
    Dial->SetExtremes(min, max);
}

void TDashForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (OnHidden) {
        GuardedCall(OnHidden);
    }
}

void TDashForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_F11:
        close();
        return;
    case Qt::Key_Space:
        if (OnAcknowledge) {
            GuardedCall(OnAcknowledge);
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TDashForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Dial && event->type() == QEvent::MouseButtonPress && OnAcknowledge) {
        GuardedCall(OnAcknowledge);
    } else if (watched == Dial && event->type() == QEvent::MouseButtonDblClick && OnResetPeaks) {
        GuardedCall(OnResetPeaks);
    }
    return QWidget::eventFilter(watched, event);
}
