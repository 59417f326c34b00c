#pragma once
// Conversions between the controller's raw bytes and the values the utility shows and sends.
#include <cstdint>
#include <string>

// Lambda from the live-data reply: (high * 256 + low) / 1000. Never clamped (65535 -> 65.535).
double LambdaFromRaw(uint8_t low, uint8_t high);

// Supply voltage from its raw byte: raw * 0.01953 * 3.2 volts (200 -> 12.4992).
double SupplyVolts(uint8_t raw);

// Nearest integer, exact halves to the even neighbour (1041.5 -> 1042, 1144.5 -> 1144).
int64_t RoundHalfEvenInt(double value);

// Cal value for a measured plug resistance in whole ohms: R * 0.0103 + 948.8, rounded
// (4971 -> 1000, 9000 -> 1042, 19000 -> 1144). Callers limit R before converting.
int64_t CalFromResistance(int64_t ohms);

// Plug resistance for a cal value: (cal - 948.8) / 0.0103, rounded (959 -> 990, 0 -> -92117).
int64_t ResistanceFromCal(int64_t cal);

// "V" and the version byte in tenths with one decimal and at most two significant digits,
// using the given decimal separator: 12 -> "V1.2", 9 -> "V0.9", 123 -> "V12.0".
std::string FirmwareVersionText(uint8_t versionByte, char decimalSeparator);
