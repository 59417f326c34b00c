#pragma once
// CAN Setup: reads and writes the controller's CAN identifier and bit rate. The receive
// dispatcher fills CANAbNumEdit2 and checks the speed button of the code read.
#include <cstdint>

#include "dialogs/DialogForm.h"

class QRadioButton;
class TAbNumEdit;

class TCANform : public TDialogForm {
    Q_OBJECT
public:
    TCANform();

    // Checks the button of a bit-rate code and runs its click handler; other codes change
    // no button.
    void CheckSpeedButton(uint8_t code);

    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();

    TAbNumEdit* CANAbNumEdit2 = nullptr;
    QRadioButton* RadioButton1 = nullptr; // 100 Kbps, code 9
    QRadioButton* RadioButton2 = nullptr; // 125 Kbps, code 7
    QRadioButton* RadioButton3 = nullptr; // 250 Kbps, code 3
    QRadioButton* RadioButton4 = nullptr; // 500 Kbps, code 1
    QRadioButton* RadioButton5 = nullptr; // 1 Mbps, code 0
};

extern TCANform* CANform;
