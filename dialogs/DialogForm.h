#pragma once
// Shared behaviour of the secondary windows: a top-level dialog with a fixed client size and
// the Tahoma 11-pixel font, shown without blocking, centred on the main window, which is its
// transient parent but not its widget parent (so disabling the main window leaves the
// dialog usable). The hooks run through the error guard.
#include <QDialog>

class TDialogForm : public QDialog {
    Q_OBJECT
public:
    // `mainWindow` is the window the dialog centres on and stands in front of; it may be null.
    TDialogForm(QWidget* mainWindow, const QString& caption, int clientWidth, int clientHeight);

    // Shows the dialog modeless, centred on the main window, and raises it.
    void ShowForm();

protected:
    virtual void FormShow() {}
    // Runs when the dialog becomes the program's active window: on showing, and when the user
    // comes back to it from another window of the program. Coming back from another
    // application does not count: nothing in the program has changed meanwhile, and a reply
    // may be arriving.
    virtual void FormActivate() {}
    virtual void FormClose() {}

    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // Escape closes through closeEvent, so FormClose always runs.
    void reject() override;

    // Enables or disables the main window (the dialogs behave as modal ones this way).
    void SetMainWindowEnabled(bool enabled);

private:
    void CentreOnMainWindow();
    bool ActivationComesFromWithinProgram();

    QWidget* FMainWindow;
    bool FShowActivationDue = false;
};
