#pragma once
// CAN bit-rate codes: code = 1000 Kbps / bus speed - 1. Other codes are kept and sent back
// unchanged but select no button.
#include <cstdint>
#include <string>

struct TCanSpeed {
    uint8_t Code;
    const char* Caption;
};

constexpr int CanSpeedCount = 5;
constexpr int CanSpeedNoButton = -1;

// The five known rates in button order: 1 Mbps, 500, 250, 125, 100 Kbps.
const TCanSpeed& CanSpeedAt(int index);
// Button index of a code, or CanSpeedNoButton for a code outside the table.
int CanSpeedIndex(uint8_t code);
// Button caption of a code ("500 Kbps"), or an empty text for a code outside the table.
std::string CanSpeedCaption(uint8_t code);
