#pragma once
// The numeric fields of the program's windows, each set up as its window defines it
// (base, picture, limits, initial value, font, place and size). All use the window
// background as default colour, DigitsBool = DigitsHex = 0 and Increment 1. The window may
// move them; setting up is complete (OnValueChanged may fire) when they are returned.
#include <QWidget>

#include "AbNumEdit.h"

// Main window.
TAbNumEdit* CreateValue1(QWidget* parent);          // supply volts, "#0.#"
TAbNumEdit* CreateLambda1(QWidget* parent);         // lambda, "#0.00#", 40-pixel font
TAbNumEdit* CreateRich_mA_display(QWidget* parent); // hidden
TAbNumEdit* CreateLean_mA_display(QWidget* parent); // hidden

// Sensor Setup.
TAbNumEdit* CreateCalvalue1Edit(QWidget* parent);   // hidden, 1000..20000, value 1000
TAbNumEdit* CreateCalvalue2Edit(QWidget* parent);   // hidden, 500..1500, value 1000
TAbNumEdit* CreateResistanceEdit1(QWidget* parent); // integer entry, 1000..20000, value 1000

// CAN Setup.
TAbNumEdit* CreateCANAbNumEdit2(QWidget* parent);  // CAN address, 0..2046, value 0
TAbNumEdit* CreateCANspeedNumber(QWidget* parent); // hidden
