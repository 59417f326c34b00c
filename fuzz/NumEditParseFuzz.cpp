// Fuzz target: the numeric edit field reading what the user typed or pasted.
//
// Input: byte 0 picks the field's base (low two bits) and the regional settings (the rest);
// byte 1 picks the picture of a float field; the rest is the field's text, one UTF-16 unit
// per byte below 0xF0, or after a byte of 0xF0 or more the unit in the next two bytes (low
// first), so lone surrogates and any other unit can appear.
//
// It follows the field: the text is read in the field's base; a number is stored, which
// clamps it to the base's range and gives the text the field then shows, and that text is
// read again when it is set. Checks:
// - a rejected text selects a part inside the text; a number read is finite;
// - the field never marks its own text as wrong: the shown text reads back as a number and
//   stores to the same text again;
// - a plain decimal that the settings reader accepts is read by the field as the same number.
#include <cmath>
#include <optional>
#include <string>

#include "AbNumEditParse.h"
#include "AbNumEditText.h"
#include "FuzzInput.h"
#include "format/NumberParsing.h"

namespace {

// The pictures of the program's float fields.
const char* const FieldPictures[] = {"#0.#", "#0.00#"};

std::u16string FieldText(TFuzzInput& in) {
    std::u16string text;
    while (!in.AtEnd()) {
        const uint8_t b = in.Byte();
        if (b < 0xF0) {
            text += static_cast<char16_t>(b);
        } else {
            const uint8_t low = in.Byte();
            text += static_cast<char16_t>(low | in.Byte() << 8);
        }
    }
    return text;
}

void CheckSelection(const TNumTextParse& parsed, size_t textSize) {
    FUZZ_CHECK(parsed.SelStart >= 0 && parsed.SelLength >= 1);
    FUZZ_CHECK(static_cast<size_t>(parsed.SelStart) + static_cast<size_t>(parsed.SelLength) <=
               textSize);
}

// The field stores the number, shows its text, and reads that text when it is set.
void CheckShownText(double value, const TNumEditFormat& format, const TRegionalSettings& rs) {
    const std::string shown = MakeNumEditForms(value, format, rs).Text;
    const TNumTextParse again =
        ParseNumEditText(std::u16string(shown.begin(), shown.end()), format.Base, rs);
    FUZZ_CHECK(again.Kind == TNumTextKind::ntValid);
    FUZZ_CHECK(MakeNumEditForms(again.Value, format, rs).Text == shown);
}

// The text as 8-bit characters when it is all ASCII.
std::optional<std::string> Ascii(const std::u16string& text) {
    std::string narrow;
    for (char16_t c : text) {
        if (c >= 0x80) {
            return std::nullopt;
        }
        narrow += static_cast<char>(c);
    }
    return narrow;
}

// Blanks around a number are the settings reader's own allowance; the field has none.
void CheckAgainstSettingsReader(const std::u16string& text, const TRegionalSettings& rs) {
    const std::optional<std::string> narrow = Ascii(text);
    if (!narrow) {
        return;
    }
    int64_t integer = 0;
    TryStrToInt(*narrow, integer); // runs under the sanitizers; no counterpart in the field
    double expected = 0;
    if (narrow->find_first_of(" \t\r\n") != std::string::npos ||
        !TryStrToFloat(*narrow, expected, rs)) {
        return;
    }
    const TNumTextParse parsed = ParseNumEditText(text, ebFloat, rs);
    FUZZ_CHECK(parsed.Kind == TNumTextKind::ntValid);
    FUZZ_CHECK(parsed.Value == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFuzzInput in(data, size);
    const uint8_t setup = in.Byte();
    TNumEditFormat format;
    format.Base = static_cast<TEditBase>(setup & 3);
    const TRegionalSettings rs = FuzzRegionalSettings(static_cast<uint8_t>(setup >> 2));
    format.FormatStr = FieldPictures[in.Byte() % 2];
    const std::u16string text = FieldText(in);

    const TNumTextParse parsed = ParseNumEditText(text, format.Base, rs);
    switch (parsed.Kind) {
    case TNumTextKind::ntEmpty:
        FUZZ_CHECK(text.empty());
        break;
    case TNumTextKind::ntInvalid:
    case TNumTextKind::ntNotANumber:
        CheckSelection(parsed, text.size());
        break;
    case TNumTextKind::ntValid:
        FUZZ_CHECK(std::isfinite(parsed.Value));
        CheckShownText(parsed.Value, format, rs);
        break;
    }
    CheckAgainstSettingsReader(text, rs);
    return 0;
}
