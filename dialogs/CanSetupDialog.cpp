#include "CanSetupDialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ErrorDisplay.h"
#include "platform/QtBind.h"
#include "platform/QtTimer.h"
#include "protocol/Requests.h"
#include "serial/VaComm.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbNumEditFactory.h"
#include "widgets/AbSwitch.h"

TCANform* CANform = nullptr;

namespace {
void ShowNoteBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

TCANform::TNoteDisplay& NoteDisplay() {
    static TCANform::TNoteDisplay display;
    return display;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const char* caption, int x, int y) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 113, 17);
    return button;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int y) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(208, y, 105, 25);
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}
} // namespace

TCANform::TCANform(TDialogLine& line) : TSetupForm(line, "CAN Setup", 353, 242) {
    setObjectName("CANform");
    CANAbNumEdit2 = CreateCANAbNumEdit2(this);
    CANAbNumEdit2->setGeometry(72, 28, 65, 21);
    StaticText1 = MakeLabel(this, "StaticText1", "11 bit CAN address (0-2046)", 36, 55);
    Button1 = MakeButton(this, "Button1", "Read CAN data", 24);
    Button2 = MakeButton(this, "Button2", "Write CAN data", 55);
    // The frame only surrounds the speed buttons; they are the window's own controls, made
    // after it so they lie on top, and exclude each other as siblings.
    RadioGroup1 = new QGroupBox("CAN Bus Speed", this);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup1->setGeometry(17, 86, 296, 91);
    // Caption on the frame's top line, so the frame encloses the buttons placed within it.
    RadioGroup1->setStyleSheet(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 8px; padding: 0 2px; }");
    RadioButton1 = MakeRadio(this, "RadioButton1", "100 Kbps", 36, 104);
    RadioButton2 = MakeRadio(this, "RadioButton2", "125 Kbps", 36, 127);
    RadioButton3 = MakeRadio(this, "RadioButton3", "250 Kbps", 36, 150);
    RadioButton4 = MakeRadio(this, "RadioButton4", "500 Kbps", 184, 104);
    RadioButton5 = MakeRadio(this, "RadioButton5", "1 Mbps", 184, 127);
    ProgressBar2 = CreateProgressBar(this, "ProgressBar2", QRect(88, 183, 150, 17));
    StaticText2 = MakeLabel(this, "StaticText2", "Note: CAN only supported on WBX4100C", 72, 216);
    Timer1 = CreateProgressTimer(this);
    Timer1->OnTimer = [this](TTimer* sender) { Timer1Timer(sender); };

    Bind(Button1, &QAbstractButton::clicked, this, &TCANform::Button1Click);
    Bind(Button2, &QAbstractButton::clicked, this, &TCANform::Button2Click);
    for (const TSpeedButton& s : SpeedButtons()) {
        Bind(s.Button, &QAbstractButton::clicked, this, s.Click);
    }
}

TCANform::TNoteDisplay TCANform::SetNoteDisplay(TNoteDisplay display) {
    TNoteDisplay previous = std::move(NoteDisplay());
    NoteDisplay() = std::move(display);
    return previous;
}

std::array<TCANform::TSpeedButton, 5> TCANform::SpeedButtons() const {
    return {{{9, RadioButton1, &TCANform::RadioButton1Click},
             {7, RadioButton2, &TCANform::RadioButton2Click},
             {3, RadioButton3, &TCANform::RadioButton3Click},
             {1, RadioButton4, &TCANform::RadioButton4Click},
             {0, RadioButton5, &TCANform::RadioButton5Click}}};
}

void TCANform::FormShow() {
    ProgressBar2->hide();
    FLine.ExpectReply(TExpectedReply::None);
}

void TCANform::RadioButton1Click() {
    FLine.SetCanSpeed(9);
}
void TCANform::RadioButton2Click() {
    FLine.SetCanSpeed(7);
}
void TCANform::RadioButton3Click() {
    FLine.SetCanSpeed(3);
}
void TCANform::RadioButton4Click() {
    FLine.SetCanSpeed(1);
}
void TCANform::RadioButton5Click() {
    FLine.SetCanSpeed(0);
}

void TCANform::CheckSpeedButton(uint8_t code) {
    for (const TSpeedButton& s : SpeedButtons()) {
        if (s.Code == code) {
            s.Button->setChecked(true);
            (this->*s.Click)();
        }
    }
}

void TCANform::Button1Click() {
    FLine.SetPolling(false);
    FLine.PurgeRead();
    SendCanRead(PortSink());
    StartProgress(ProgressBar2, Timer1);
    FLine.ExpectReply(TExpectedReply::Can);
}

void TCANform::Button2Click() {
    if (!CommitTypedValue(CANAbNumEdit2)) {
        return;
    }
    // Neither polling nor the receive buffer is touched: the dialog has stopped polling on
    // activation, and the answer to the write is discarded by the next purge undecoded.
    const auto address = static_cast<uint16_t>(CANAbNumEdit2->ValueAsInt());
    SendCanWrite(PortSink(), address, FLine.CanSpeed());
    StartProgress(ProgressBar2, Timer1);
    ShowNote(CanPowerCycleNote);
}

void TCANform::Timer1Timer(TTimer* /*Sender*/) {
    EndProgress(ProgressBar2, Timer1);
}

void TCANform::ShowNote(const QString& text) {
    if (NoteDisplay()) {
        NoteDisplay()(this, text);
    } else {
        ShowNoteBox(this, text);
    }
}
