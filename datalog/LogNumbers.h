#pragma once
// Numbers in the MSL and CSV logs: "." as the decimal mark whatever the regional settings,
// so a viewer or spreadsheet in any language reads them; and the ranges a reading's values
// can take.
#include <string>
#include <string_view>

// `value` with `decimals` decimals: 0.9874 with 3 is "0.987".
std::string FixedText(double value, int decimals);
// `text` without the white space around it.
std::string_view TrimSpace(std::string_view text);
// A number with "." as the decimal mark and nothing around it but blanks; false otherwise.
bool ParsePlainNumber(std::string_view text, double& value);
// Lambda from 0 to 100 and volts from 0 to 100, both finite: anything else is no reading.
bool PlausibleReading(double lambda, double volts);
