#include "SetupForm.h"

#include <QProgressBar>

#include "platform/QtTimer.h"
#include "widgets/AbNumEdit.h"

TSetupForm::TSetupForm(TDialogLine& line, const QString& caption, int clientWidth, int clientHeight)
    : TDialogForm(line.MainWindow(), caption, clientWidth, clientHeight), FLine(line) {}

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
    FLine.SetPolling(true);
}

void TSetupForm::ActivateFromShow() {
    StopPollingForDialog();
    FActivatedByShow = true;
}

void TSetupForm::StopPollingForDialog() {
    SetMainWindowEnabled(false);
    FLine.SetPolling(false);
    FLine.PurgeRead();
}

TByteSink TSetupForm::PortSink() {
    return [this](uint8_t b) { FLine.Sendbyte(b); };
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
    FLine.SetDiagnosticsCell(col, row, text);
}
