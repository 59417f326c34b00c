#include "SensorSetupDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "dialogs/PlugPicture.h"
#include "dialogs/TextFit.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtBind.h"
#include "platform/QtTimer.h"
#include "protocol/Conversions.h"
#include "protocol/Requests.h"
#include "serial/VaComm.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbNumEditFactory.h"
#include "widgets/AbSwitch.h"

TCalForm* CalForm = nullptr;

namespace {
// Longer than a live-data answer takes to arrive: 8 bytes at 19200 baud are 4.2 ms, and the
// controller answers well within the 100 ms poll interval.
constexpr int LiveReplySettleMs = 50;
} // namespace

namespace {
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}
} // namespace

TCalForm::TCalForm(TDialogLine& line) : TSetupForm(line, "Sensor Setup", 389, 174) {
    setObjectName("CalForm");
    ResistanceEdit1 = CreateResistanceEdit1(this);
    ResistanceEdit1->setGeometry(140, 16, 61, 27);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(207, 16, 26, 27);
    Image1->setPixmap(PlugPicturePixmap(26, 27));
    StaticText3 = MakeLabel(this, "StaticText3", "Sensor plug resistor value (Ohms)", 96, 49);
    ReadButton1 = MakeButton(this, "ReadButton1", "Read Cal value", QRect(72, 83, 90, 25));
    WriteButton2 = MakeButton(this, "WriteButton2", "Write Cal value", QRect(201, 83, 89, 25));
    VersionText = MakeLabel(this, "VersionText", "***", 24, 130);
    KeepLabelFittedToText(VersionText);
    ProgressBar1 = CreateProgressBar(this, "ProgressBar1", QRect(120, 130, 150, 17));
    Timer1 = CreateProgressTimer(this);
    Timer1->OnTimer = [this](TTimer* sender) { Timer1Timer(sender); };
    Bind(ReadButton1, &QPushButton::clicked, this, &TCalForm::ReadButton1Click);
    Bind(WriteButton2, &QPushButton::clicked, this, &TCalForm::WriteButton2Click);
    FormCreate();
}

void TCalForm::FormCreate() {
    ResistanceEdit1->setToolTip("Measure sensor plug resistor and enter value");
}

void TCalForm::FormShow() {
    ProgressBar1->hide();
    if (!FLine.Online()) {
        return;
    }
    ActivateFromShow();
    if (!FLine.LiveReplyExpected()) {
        ReadButton1Click();
        return;
    }
    // The answer to the last live-data request may still be on its way. Were it to land
    // after the purge, the calibration answer would be read shifted by its bytes; so the
    // read waits until that answer is in, then purges it and asks.
    QTimer::singleShot(LiveReplySettleMs, this, [this] {
        GuardedCall([this] {
            if (isVisible()) {
                ReadButton1Click();
            }
        });
    });
}

void TCalForm::ReadButton1Click() {
    FLine.StopPollTimer();
    FLine.SetPolling(false);
    FLine.PurgeRead();
    SendCalibrationRead(PortSink());
    StartProgress(ProgressBar1, Timer1);
    FLine.ExpectReply(TExpectedReply::Calibration);
}

void TCalForm::WriteButton2Click() {
    if (!CommitTypedValue(ResistanceEdit1)) {
        return;
    }
    FLine.SetPolling(false);
    FLine.PurgeRead();
    const auto cal = static_cast<uint16_t>(CalFromResistance(ResistanceEdit1->ValueAsInt()));
    SetDiagnosticsCell(2, 15, QString::number(cal));
    // The controller's answer to a write is not decoded; the next purge discards it.
    SendCalibrationWrite(PortSink(), cal);
    StartProgress(ProgressBar1, Timer1);
}

void TCalForm::Timer1Timer(TTimer* /*Sender*/) {
    EndProgress(ProgressBar1, Timer1);
}
