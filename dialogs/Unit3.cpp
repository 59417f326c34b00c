#include "Unit3.h"

#include <QRadioButton>

#include "monitor/Serial_Test.h"
#include "platform/ErrorDisplay.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbNumEditFactory.h"

TCANform* CANform = nullptr;

namespace {
QRadioButton* MakeRadio(QWidget* parent, const char* caption, int x, int y) {
    auto* button = new QRadioButton(caption, parent);
    button->setGeometry(x, y, 113, 17);
    return button;
}
} // namespace

TCANform::TCANform() : TDialogForm("CAN Setup", 353, 242) {
    setObjectName("CANform");
    CANAbNumEdit2 = CreateCANAbNumEdit2(this);
    CANAbNumEdit2->setGeometry(72, 28, 65, 21);
    RadioButton1 = MakeRadio(this, "100 Kbps", 36, 104);
    RadioButton2 = MakeRadio(this, "125 Kbps", 36, 127);
    RadioButton3 = MakeRadio(this, "250 Kbps", 36, 150);
    RadioButton4 = MakeRadio(this, "500 Kbps", 184, 104);
    RadioButton5 = MakeRadio(this, "1 Mbps", 184, 127);
    auto bind = [](QRadioButton* button, void (TCANform::*handler)(), TCANform* form) {
        QObject::connect(button, &QRadioButton::clicked, form,
                         [form, handler] { GuardedCall([form, handler] { (form->*handler)(); }); });
    };
    bind(RadioButton1, &TCANform::RadioButton1Click, this);
    bind(RadioButton2, &TCANform::RadioButton2Click, this);
    bind(RadioButton3, &TCANform::RadioButton3Click, this);
    bind(RadioButton4, &TCANform::RadioButton4Click, this);
    bind(RadioButton5, &TCANform::RadioButton5Click, this);
}

void TCANform::RadioButton1Click() {
    CANspeed = 9;
}
void TCANform::RadioButton2Click() {
    CANspeed = 7;
}
void TCANform::RadioButton3Click() {
    CANspeed = 3;
}
void TCANform::RadioButton4Click() {
    CANspeed = 1;
}
void TCANform::RadioButton5Click() {
    CANspeed = 0;
}

void TCANform::CheckSpeedButton(uint8_t code) {
    struct Entry {
        uint8_t Code;
        QRadioButton* Button;
        void (TCANform::*Click)();
    };
    const Entry entries[] = {{9, RadioButton1, &TCANform::RadioButton1Click},
                             {7, RadioButton2, &TCANform::RadioButton2Click},
                             {3, RadioButton3, &TCANform::RadioButton3Click},
                             {1, RadioButton4, &TCANform::RadioButton4Click},
                             {0, RadioButton5, &TCANform::RadioButton5Click}};
    for (const Entry& e : entries) {
        if (e.Code == code) {
            e.Button->setChecked(true);
            (this->*e.Click)();
        }
    }
}
