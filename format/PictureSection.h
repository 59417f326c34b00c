#pragma once
// A numeric picture read into its sections and tokens: digit places, decimal point,
// exponent and literal text, with the counts the layout of a number needs.
#include <string>
#include <vector>

namespace formatting {

enum class TTokenKind { Literal, IntegerDigit, Point, FractionDigit, Exponent };

struct TToken {
    TTokenKind Kind;
    std::string Text; // literal text; for digits "0" or "#"; for the exponent its mark "E"/"e"
    bool PlusSign = false;
    int ExpDigits = 0;
};

struct TSection {
    std::vector<TToken> Tokens;
    int IntPlaces = 0;   // digit places before the decimal point
    int MinInteger = 0;  // integer digits always shown (from the first '0' on)
    int MaxDecimals = 0; // digit places after the decimal point
    int MinDecimals = 0; // decimals always shown (up to the last '0')
    bool Grouped = false;
    bool Scientific = false;
};

// Splits at ';' outside quoted text; at most three sections.
std::vector<std::string> SplitSections(const std::string& picture);
// Whether section `index` is there and not empty.
bool HasSection(const std::vector<std::string>& sections, size_t index);
// Reads one section's text.
TSection AnalyseSection(const std::string& text);

} // namespace formatting
