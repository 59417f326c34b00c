#pragma once
// CAN Setup: reads and writes the controller's 11-bit CAN identifier and its CAN bit-rate
// code. The main window's receive dispatcher fills CANAbNumEdit2 and checks the speed button
// of the code read; a click on a speed button chooses the code the next write sends.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "dialogs/SetupForm.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TAbNumEdit;
class TTimer;

// The text shown after every CAN write.
inline const char* const CanPowerCycleNote =
    "NOTE: Uego controller power must be cycled if CAN values changed";

class TCANform : public TSetupForm {
    Q_OBJECT
public:
    // Shows a note and returns once the user has acknowledged it.
    using TNoteDisplay = std::function<void(QWidget* parent, const QString& text)>;

    explicit TCANform(TDialogLine& line);

    // Replaces the note display (a modal message box with OK; tests answer it themselves).
    // An empty display restores the message box. Returns the previous one.
    static TNoteDisplay SetNoteDisplay(TNoteDisplay display);

    // Checks the button of a bit-rate code and runs its click handler; other codes change
    // no button.
    void CheckSpeedButton(uint8_t code);

    // "Read CAN data"
    void Button1Click();
    // "Write CAN data": the address and the current CANspeed, then the power-cycle note.
    void Button2Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    // End of the one-second progress cue.
    void Timer1Timer(TTimer* Sender);

    TAbNumEdit* CANAbNumEdit2 = nullptr;
    QLabel* StaticText1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioButton1 = nullptr; // 100 Kbps, code 9
    QRadioButton* RadioButton2 = nullptr; // 125 Kbps, code 7
    QRadioButton* RadioButton3 = nullptr; // 250 Kbps, code 3
    QRadioButton* RadioButton4 = nullptr; // 500 Kbps, code 1
    QRadioButton* RadioButton5 = nullptr; // 1 Mbps, code 0
    QProgressBar* ProgressBar2 = nullptr;
    QLabel* StaticText2 = nullptr;
    TTimer* Timer1 = nullptr;

protected:
    void FormShow() override;

private:
    struct TSpeedButton {
        uint8_t Code;
        QRadioButton* Button;
        void (TCANform::*Click)();
    };
    std::array<TSpeedButton, 5> SpeedButtons() const;
    void ShowNote(const QString& text);
};

extern TCANform* CANform;
