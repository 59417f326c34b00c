#pragma once
// The special characters of the line: XON, XOFF, error replacement, event and end of file.
#include <cstdint>

#include "VaPersistent.h"

class TVaEventChars : public TVaPersistent {
public:
    char XonChar() const { return FXonChar; }
    char XoffChar() const { return FXoffChar; }
    char ErrorChar() const { return FErrorChar; }
    char EventChar() const { return FEventChar; }
    char EofChar() const { return FEofChar; }
    void SetXonChar(char value) { SetEventChar(1, value); }
    void SetXoffChar(char value) { SetEventChar(2, value); }
    void SetErrorChar(char value) { SetEventChar(3, value); }
    void SetEventChar(char value) { SetEventChar(4, value); }
    void SetEofChar(char value) { SetEventChar(5, value); }

    // Index 1..5: XonChar, XoffChar, ErrorChar, EventChar, EofChar. Every assignment
    // notifies, equal or not.
    void SetEventChar(int Index, char Value);
    void Assign(const TVaEventChars& source);

private:
    char FXonChar = 0x11;
    char FXoffChar = 0x13;
    char FErrorChar = 0;
    char FEventChar = 0;
    char FEofChar = 0;
};
