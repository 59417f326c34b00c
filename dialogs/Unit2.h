#pragma once
// Sensor Setup: reads and writes the sensor plug-resistor calibration and shows the firmware
// version. The receive dispatcher fills ResistanceEdit1 and VersionText.
#include "dialogs/DialogForm.h"

class QLabel;
class TAbNumEdit;

class TCalForm : public TDialogForm {
    Q_OBJECT
public:
    TCalForm();

    TAbNumEdit* ResistanceEdit1 = nullptr;
    QLabel* VersionText = nullptr;
};

extern TCalForm* CalForm;
