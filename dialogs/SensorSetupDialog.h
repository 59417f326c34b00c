#pragma once
// Sensor Setup: reads and writes the sensor plug-resistor calibration and shows the firmware
// version. The user measures the resistor in the sensor plug and enters it in ohms; the
// window converts it to a cal value and writes it to the controller. The main window's
// receive dispatcher fills ResistanceEdit1 and VersionText from the calibration reply.
#include "dialogs/SetupForm.h"

class QLabel;
class QProgressBar;
class QPushButton;
class TAbNumEdit;
class TTimer;

class TCalForm : public TSetupForm {
    Q_OBJECT
public:
    explicit TCalForm(TDialogLine& line);

    // "Read Cal value": polling stopped, buffer emptied, calibration read sent.
    void ReadButton1Click();
    // "Write Cal value": the cal value for the entered resistance, as both rich and lean.
    void WriteButton2Click();
    // End of the one-second progress cue.
    void Timer1Timer(TTimer* Sender);

    TAbNumEdit* ResistanceEdit1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* StaticText3 = nullptr;
    QPushButton* ReadButton1 = nullptr;
    QPushButton* WriteButton2 = nullptr;
    QLabel* VersionText = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    TTimer* Timer1 = nullptr;

protected:
    void FormCreate();
    void FormShow() override;
};

extern TCalForm* CalForm;
