#pragma once
// Reading the text of a numeric edit field: the character checks that decide what the user
// is shown in red, and the conversion of an acceptable text to a number. Pure functions of
// the text, the field's base and the regional settings.
#include <string_view>

#include "AbNumEditBase.h"
#include "format/Regional.h"

enum class TNumTextKind {
    ntEmpty,      // nothing typed
    ntInvalid,    // characters that are not allowed where they stand
    ntNotANumber, // allowed characters that do not make a number (yet): "1e", "1e999"
    ntValid,      // Value holds the number (multiplier applied, no limits applied)
};

struct TNumTextParse {
    TNumTextKind Kind = TNumTextKind::ntEmpty;
    // For ntInvalid and ntNotANumber: the part of the text to select, first through last
    // offending character (positions count UTF-16 code units, as the edit control does).
    int SelStart = 0;
    int SelLength = 0;
    double Value = 0;
};

TNumTextParse ParseNumEditText(std::u16string_view text, TEditBase editBase,
                               const TRegionalSettings& rs = RegionalSettings());

// Binary digits to a 32-bit integer: from the last character towards the first with the
// weights 1, 2, 4, ...; each '1' adds its weight, any other character adds nothing, and
// digits beyond the 32nd drop out.
int32_t AbBinToInt(std::u16string_view digits);
