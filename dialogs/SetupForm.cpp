#include "SetupForm.h"

#include <QProgressBar>
#include <QTableWidget>

#include "monitor/MainWindow.h"
#include "platform/QtTimer.h"
#include "serial/VaComm.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbSwitch.h"

void TSetupForm::FormActivate() {
    if (FActivatedByShow) {
        // Already done by the show step, before its request went out: emptying the buffer
        // again now could throw away the beginning of the answer.
        FActivatedByShow = false;
        return;
    }
    StopPollingForDialog();
}

void TSetupForm::FormClose() {
    FActivatedByShow = false;
    SetMainWindowEnabled(true);
    Form1->AbToggleSwitch1->SetChecked(true);
}

void TSetupForm::ActivateFromShow() {
    StopPollingForDialog();
    FActivatedByShow = true;
}

void TSetupForm::StopPollingForDialog() {
    SetMainWindowEnabled(false);
    Form1->AbToggleSwitch1->SetChecked(false);
    Form1->VaComm1->PurgeRead();
}

TByteSink TSetupForm::PortSink() {
    return [](uint8_t b) { Form1->Sendbyte(b); };
}

bool TSetupForm::CommitTypedValue(TAbNumEdit* field) {
    if (field->text().isEmpty()) {
        field->setText(QStringLiteral("0"));
    }
    return field->CheckEdit(true);
}

QProgressBar* TSetupForm::CreateProgressBar(QWidget* parent, const char* name, const QRect& place) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(place);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->hide();
    return bar;
}

TTimer* TSetupForm::CreateProgressTimer(QObject* parent) {
    auto* timer = new TTimer(parent);
    timer->SetEnabled(false);
    timer->SetInterval(1000);
    return timer;
}

void TSetupForm::StartProgress(QProgressBar* bar, TTimer* timer) {
    bar->setValue(0);
    bar->show();
    bar->setValue(100);
    timer->SetEnabled(true);
}

void TSetupForm::EndProgress(QProgressBar* bar, TTimer* timer) {
    bar->hide();
    timer->SetEnabled(false);
}

void TSetupForm::SetDiagnosticsCell(int col, int row, const QString& text) {
    QTableWidget* grid = Form1->StringGrid1;
    if (QTableWidgetItem* item = grid->item(row, col)) {
        item->setText(text);
    } else {
        grid->setItem(row, col, new QTableWidgetItem(text));
    }
}
