#pragma once
// The controller's memory: 256 bytes, 16-bit values high byte first, addresses wrap at 256.
#include <array>
#include <cstdint>

class TControllerMemory {
public:
    uint8_t Byte(uint8_t address) const { return FBytes[address]; }
    void SetByte(uint8_t address, uint8_t value) { FBytes[address] = value; }
    uint16_t Word(uint8_t address) const;
    void SetWord(uint8_t address, uint16_t value);

    uint16_t CalRich() const;
    uint16_t CalLean() const;
    uint8_t Firmware() const;
    uint16_t CanAddress() const;
    uint8_t CanSpeed() const;
    void SetCalRich(uint16_t value);
    void SetCalLean(uint16_t value);
    void SetFirmware(uint8_t value);
    void SetCanAddress(uint16_t value);
    void SetCanSpeed(uint8_t value);

private:
    std::array<uint8_t, 256> FBytes{};
};
