#pragma once
// What Sensor Setup and CAN Setup share: while one of them is active the main window is
// disabled and live polling is stopped, so the serial line carries only the dialog's own
// exchanges; closing it gives the main window back and restarts polling. Each read or write
// shows a progress bar for one second as a fixed cue.
#include <QRect>
#include <QString>

#include "dialogs/DialogForm.h"
#include "dialogs/DialogLine.h"
#include "protocol/FrameWriter.h"

class QProgressBar;
class TAbNumEdit;
class TTimer;

class TSetupForm : public TDialogForm {
public:
    TSetupForm(TDialogLine& line, const QString& caption, int clientWidth, int clientHeight);

protected:
    // Activation: main window disabled, polling stopped, receive buffer emptied.
    void FormActivate() override;
    void FormClose() override;

    // The show step comes before the window's activation; a show step that sends a request
    // runs the activation first, and the activation that follows then has nothing left to do.
    void ActivateFromShow();

    void StopPollingForDialog();

    // Request bytes go to the port one at a time as they are computed.
    TByteSink PortSink();

    // Takes over text the user typed but has not yet entered, as leaving the field would.
    // False when the text is not a number: the field then shows the error and keeps the focus.
    static bool CommitTypedValue(TAbNumEdit* field);

    static QProgressBar* CreateProgressBar(QWidget* parent, const char* name, const QRect& place);
    // The one-shot progress timer: disabled, one second.
    static TTimer* CreateProgressTimer(QObject* parent);

    // Bar from 0 to full and visible; an already running timer is not restarted, so the bar
    // goes one second after the first of several quick clicks.
    static void StartProgress(QProgressBar* bar, TTimer* timer);
    static void EndProgress(QProgressBar* bar, TTimer* timer);

    // Writes a value into the main window's hidden diagnostics table.
    void SetDiagnosticsCell(int col, int row, const QString& text);

    TDialogLine& FLine;

private:
    bool FActivatedByShow = false;
};
