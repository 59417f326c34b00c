#pragma once
// Translation between the device-control block and the kernel's line settings (termios2),
// in raw mode: any bit rate through BOTHER, mark/space parity through CMSPAR, XON/XOFF,
// CTS/RTS handshake, and the start, stop and end-of-file characters.
#include <array>
#include <cstdint>

#include "ports/SerialTypes.h"

// Writes `dcb` to the terminal `fd`. Returns 0 or an errno value (EINVAL for settings the
// kernel cannot do, such as 4 data bits).
int ApplyLineConfiguration(int fd, const TDCB& dcb);

// Puts the terminal `fd` in raw mode (no echo, no line editing, no signals, no translation of
// input or output, reads return what is there) and leaves its speed, framing and flow control
// as they are. Returns 0 or an errno value.
int MakeLineRaw(int fd);

// What the kernel holds for a terminal, in the terms of the device-control block.
struct TLineReadback {
    uint32_t BaudRate = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = NOPARITY;
    uint8_t StopBits = ONESTOPBIT;
    bool Raw = false; // no echo, no canonical input, no signals, no output processing
    bool CtsRtsFlow = false;
    bool XonXoffOut = false;
    bool XonXoffIn = false;
    bool ParityCheck = false;
    char XonChar = 0;
    char XoffChar = 0;
    char EofChar = 0;
};

// Reads the settings of `fd` (a pseudo-terminal master reports its slave's). Returns 0 or errno.
int ReadLineConfiguration(int fd, TLineReadback& line);

// A terminal's settings exactly as the kernel holds them (any bit rate included), to be put
// back after a short use of the line.
struct TSavedLine {
    std::array<uint8_t, 64> Data{};
};
// Both return 0 or an errno value.
int SaveLineSettings(int fd, TSavedLine& saved);
int RestoreLineSettings(int fd, const TSavedLine& saved);
