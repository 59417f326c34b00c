#include "VaEventChars.h"

void TVaEventChars::SetEventChar(int Index, char Value) {
    switch (Index) {
    case 1:
        FXonChar = Value;
        break;
    case 2:
        FXoffChar = Value;
        break;
    case 3:
        FErrorChar = Value;
        break;
    case 4:
        FEventChar = Value;
        break;
    case 5:
        FEofChar = Value;
        break;
    default:
        return;
    }
    Changed();
}

void TVaEventChars::Assign(const TVaEventChars& source) {
    if (&source == this) {
        return;
    }
    BeginUpdate();
    SetEventChar(1, source.FXonChar);
    SetEventChar(2, source.FXoffChar);
    SetEventChar(3, source.FErrorChar);
    SetEventChar(4, source.FEventChar);
    SetEventChar(5, source.FEofChar);
    EndUpdate();
}
