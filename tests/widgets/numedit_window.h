#pragma once
// Shared pieces of the numeric edit suite: a shown window holding a field next to another
// focusable widget, beep counting and fixed regional settings.
#include <memory>

#include <QLineEdit>
#include <QWidget>

#include "format/Regional.h"
#include "widgets/AbNumEdit.h"

// Counts beeps and restores the previous beep and regional settings when it goes.
class TNumEditRecorder {
public:
    explicit TNumEditRecorder(const TRegionalSettings& rs = EnglishRegionalSettings());
    ~TNumEditRecorder();
    int Beeps = 0;

private:
    std::function<void()> FPreviousBeep;
    TRegionalSettings FPreviousSettings;
};

// A shown, active window with the field under test and a second line edit to move the
// focus to.
class TNumEditWindow {
public:
    TNumEditWindow();
    QWidget Window;
    QLineEdit* Other = nullptr;
    // Places `field` in the window (the window takes ownership), shows it and gives it
    // the focus.
    void Adopt(TAbNumEdit* field);
    // Moves the focus away from the field to the other line edit.
    void Leave();
};

// Selects all text of `field` and types `text` over it, as a user would.
void TypeOver(TAbNumEdit* field, const char* text);
void PressEnter(TAbNumEdit* field);
