#pragma once
// The About box: product name, version, legal notice, logo, company and support lines.
// Polling, the link watchdog and logging go on while it is shown.
#include "dialogs/DialogForm.h"

class QLabel;

class TAboutForm : public TDialogForm {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* mainWindow);

    QLabel* StaticText1 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;

protected:
    void FormActivate() override;
    void FormClose() override;
};

extern TAboutForm* AboutForm;
