#include "ControllerMemory.h"

#include "protocol/Requests.h"

uint16_t TControllerMemory::Word(uint8_t address) const {
    const auto next = static_cast<uint8_t>(address + 1);
    return static_cast<uint16_t>(FBytes[address] << 8 | FBytes[next]);
}

void TControllerMemory::SetWord(uint8_t address, uint16_t value) {
    FBytes[address] = static_cast<uint8_t>(value >> 8);
    FBytes[static_cast<uint8_t>(address + 1)] = static_cast<uint8_t>(value & 0xFF);
}

uint16_t TControllerMemory::CalRich() const {
    return Word(MemCalRich);
}
uint16_t TControllerMemory::CalLean() const {
    return Word(MemCalLean);
}
uint8_t TControllerMemory::Firmware() const {
    return Byte(MemFirmware);
}
uint16_t TControllerMemory::CanAddress() const {
    return Word(MemCanAddress);
}
uint8_t TControllerMemory::CanSpeed() const {
    return Byte(MemCanSpeed);
}
void TControllerMemory::SetCalRich(uint16_t value) {
    SetWord(MemCalRich, value);
}
void TControllerMemory::SetCalLean(uint16_t value) {
    SetWord(MemCalLean, value);
}
void TControllerMemory::SetFirmware(uint8_t value) {
    SetByte(MemFirmware, value);
}
void TControllerMemory::SetCanAddress(uint16_t value) {
    SetWord(MemCanAddress, value);
}
void TControllerMemory::SetCanSpeed(uint8_t value) {
    SetByte(MemCanSpeed, value);
}
