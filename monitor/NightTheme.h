#pragma once
// The night theme: a dark palette for all of the program's windows, readable from the
// driver's seat at night without dazzling. The instrument widgets take their system colours
// from the palette, so the dial's face and labels and the lamps follow it.
#include <QPalette>

QPalette NightPalette();
// Switches the application between its own (day) palette and the night palette.
void ApplyNightTheme(bool night);
bool NightThemeOn();
