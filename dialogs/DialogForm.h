#pragma once
// Shared behaviour of the secondary windows: a top-level dialog with a fixed client size and
// the Tahoma 11-pixel font, shown without blocking, centred on the main window, which is its
// transient parent but not its widget parent (so disabling the main window leaves the
// dialog usable). The hooks run through the error guard.
#include <QDialog>

class TDialogForm : public QDialog {
    Q_OBJECT
public:
    TDialogForm(const QString& caption, int clientWidth, int clientHeight);

    // Shows the dialog modeless, centred on the main window, and raises it.
    void ShowForm();

protected:
    virtual void FormShow() {}
    virtual void FormActivate() {}
    virtual void FormClose() {}

    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // Escape closes through closeEvent, so FormClose always runs.
    void reject() override;

private:
    void CentreOnMainWindow();
};

// Enables or disables the main window (the dialogs behave as modal ones this way).
void SetMainWindowEnabled(bool enabled);
