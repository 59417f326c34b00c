// Fuzz target: numbers laid out by a numeric picture, as the dial, its scale and the numeric
// fields show them.
//
// Input: byte 0 picks the regional settings (low seven bits) and how the picture is taken (top
// bit); bytes 1-8 are the bits of the value (any double: NaNs, infinities, subnormals); the rest
// is the picture. With the top bit clear the picture is used as written; with it set each byte
// stands for one piece of a plain picture: a digit place, a point, a grouping comma or an
// exponent mark (only the first mark is kept).
//
// Checks: the text is never longer than twice the picture plus room for the number's own
// digits. A plain picture's text reads back, once the thousands separators are taken out, as
// the value to the precision the picture shows, and as a number that is shown with the same
// text again; a value shown as zero carries no minus.
#include <algorithm>
#include <cmath>
#include <string>

#include "FuzzInput.h"
#include "format/NumberParsing.h"
#include "format/NumericPicture.h"

namespace {

// A picture with one section and no literal text, and the places it shows.
struct TPlainPicture {
    std::string Text;
    int IntPlaces = 0; // digit places before the point (and before the exponent)
    int Decimals = 0;  // digit places after the point
    bool Scientific = false;
};

TPlainPicture PlainPicture(const std::string& bytes) {
    static const char* const Pieces[] = {"0", "#", "0", "#", "0",  "#",  ".",  ",",
                                         "0", "#", ".", ",", "E+", "E-", "e+", "e-"};
    TPlainPicture p;
    bool afterPoint = false;
    for (const char b : bytes) {
        const std::string piece = Pieces[static_cast<unsigned char>(b) % 16];
        if (piece.size() == 2) {
            if (p.Scientific) {
                continue;
            }
            p.Scientific = true;
        } else if (piece == ".") {
            afterPoint = true;
        } else if (piece != "," && !p.Scientific) {
            ++(afterPoint ? p.Decimals : p.IntPlaces);
        }
        p.Text += piece;
    }
    return p;
}

// How far the number shown may lie from the value: every text starts from the value's 15
// significant digits (and reading back adds at most a subnormal's spacing), then a plain
// picture rounds to its decimals, or in exponent form to its digit places.
double Tolerance(const TPlainPicture& p, double value) {
    const double magnitude = std::fabs(value);
    const double carried = magnitude * 1e-14 + 1e-320;
    if (p.Text.empty()) {
        return carried; // general format
    }
    if (p.Scientific) {
        const int kept = std::max(1, p.IntPlaces + p.Decimals);
        return carried + (kept < 15 ? magnitude * 0.5 * std::pow(10.0, 1 - kept) : 0.0);
    }
    return carried + 0.5 * std::pow(10.0, -p.Decimals);
}

void CheckReadsBack(const TPlainPicture& p, double value, const std::string& text,
                    const TRegionalSettings& rs) {
    std::string number;
    std::copy_if(text.begin(), text.end(), std::back_inserter(number),
                 [&rs](char c) { return c != rs.ThousandSeparator; });
    // A picture of '#' places only shows nothing (or just the exponent) for zero.
    const bool hasDigits = number.find_first_of("0123456789") < number.find_first_of("Ee");
    double shown = 0;
    if (hasDigits && !TryStrToFloat(number, shown, rs)) {
        FUZZ_CHECK(std::fabs(value) > 1e307); // rounded up beyond the largest double
        return;
    }
    FUZZ_CHECK(std::fabs(shown - value) <= Tolerance(p, value));
    FUZZ_CHECK(shown != 0 || text.empty() || text[0] != '-');
    // The number read from the text is shown with the same text (a field storing its own
    // text again does not change it). A subnormal number cannot hold the digits it was read
    // from ("10E-323" reads as 9.88E-323), so only full-precision numbers are checked.
    FUZZ_CHECK(!hasDigits || !(shown == 0 || std::isnormal(shown)) ||
               FormatFloat(p.Text, shown, rs) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFuzzInput in(data, size);
    const uint8_t setup = in.Byte();
    const TRegionalSettings rs = FuzzRegionalSettings(setup & 0x7F);
    const double value = in.Double();
    const std::string written = in.Rest();
    const bool plain = (setup & 0x80) != 0;
    const TPlainPicture p = plain ? PlainPicture(written) : TPlainPicture{};
    const std::string& picture = plain ? p.Text : written;

    const std::string text = FormatFloat(picture, value, rs);
    FUZZ_CHECK(text.size() <= 2 * picture.size() + 64);
    if (plain && std::isfinite(value) && (p.Text.empty() || p.IntPlaces + p.Decimals > 0)) {
        CheckReadsBack(p, value, text, rs);
    }
    return 0;
}
