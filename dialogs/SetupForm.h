#pragma once
// What Sensor Setup and CAN Setup share: while one of them is active the main window is
// disabled and live polling is stopped, so the serial line carries only the dialog's own
// exchanges; closing it gives the main window back and restarts polling. Each read or write
// shows a progress bar for one second as a fixed cue.
#include <QProgressBar>
#include <QTableWidget>

#include "dialogs/DialogForm.h"
#include "monitor/Serial_Test.h"
#include "platform/QtTimer.h"
#include "protocol/FrameWriter.h"
#include "serial/VaComm.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbSwitch.h"

class TSetupForm : public TDialogForm {
public:
    using TDialogForm::TDialogForm;

protected:
    // Activation: main window disabled, polling stopped, receive buffer emptied.
    void FormActivate() override {
        if (FActivatedByShow) {
            // Already done by the show step, before its request went out: emptying the
            // buffer again now could throw away the beginning of the answer.
            FActivatedByShow = false;
            return;
        }
        StopPollingForDialog();
    }

    void FormClose() override {
        FActivatedByShow = false;
        SetMainWindowEnabled(true);
        Form1->AbToggleSwitch1->SetChecked(true);
    }

    // The show step comes before the window's activation; a show step that sends a request
    // runs the activation first, and the activation that follows then has nothing left to do.
    void ActivateFromShow() {
        StopPollingForDialog();
        FActivatedByShow = true;
    }

    static void StopPollingForDialog() {
        SetMainWindowEnabled(false);
        Form1->AbToggleSwitch1->SetChecked(false);
        Form1->VaComm1->PurgeRead();
    }

    // Request bytes go to the port one at a time as they are computed.
    static TByteSink PortSink() {
        return [](uint8_t b) { Form1->Sendbyte(b); };
    }

    // Takes over text the user typed but has not yet entered, as leaving the field would.
    // False when the text is not a number: the field then shows the error and keeps the focus.
    static bool CommitTypedValue(TAbNumEdit* field) {
        if (field->text().isEmpty()) {
            field->setText(QStringLiteral("0"));
        }
        return field->CheckEdit(true);
    }

    static QProgressBar* CreateProgressBar(QWidget* parent, const char* name, const QRect& place) {
        auto* bar = new QProgressBar(parent);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setGeometry(place);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->hide();
        return bar;
    }

    // The one-shot progress timer: disabled, one second.
    static TTimer* CreateProgressTimer(QObject* parent) {
        auto* timer = new TTimer(parent);
        timer->SetEnabled(false);
        timer->SetInterval(1000);
        return timer;
    }

    // Bar from 0 to full and visible; an already running timer is not restarted, so the bar
    // goes one second after the first of several quick clicks.
    static void StartProgress(QProgressBar* bar, TTimer* timer) {
        bar->setValue(0);
        bar->show();
        bar->setValue(100);
        timer->SetEnabled(true);
    }

    static void EndProgress(QProgressBar* bar, TTimer* timer) {
        bar->hide();
        timer->SetEnabled(false);
    }

    // Writes a value into the main window's hidden diagnostics table.
    static void SetDiagnosticsCell(int col, int row, const QString& text) {
        QTableWidget* grid = Form1->StringGrid1;
        if (QTableWidgetItem* item = grid->item(row, col)) {
            item->setText(text);
        } else {
            grid->setItem(row, col, new QTableWidgetItem(text));
        }
    }

private:
    bool FActivatedByShow = false;
};
