#include "CanSpeed.h"

#include <stdexcept>

namespace {
constexpr TCanSpeed Speeds[CanSpeedCount] = {
    {0, "1 Mbps"}, {1, "500 Kbps"}, {3, "250 Kbps"}, {7, "125 Kbps"}, {9, "100 Kbps"},
};
} // namespace

const TCanSpeed& CanSpeedAt(int index) {
    if (index < 0 || index >= CanSpeedCount) {
        throw std::out_of_range("CAN speed index out of range");
    }
    return Speeds[index];
}

int CanSpeedIndex(uint8_t code) {
    for (int i = 0; i < CanSpeedCount; ++i) {
        if (Speeds[i].Code == code) {
            return i;
        }
    }
    return CanSpeedNoButton;
}

std::string CanSpeedCaption(uint8_t code) {
    const int index = CanSpeedIndex(code);
    return index == CanSpeedNoButton ? std::string() : std::string(Speeds[index].Caption);
}
