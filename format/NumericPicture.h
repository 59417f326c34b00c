#pragma once
// Numbers as text laid out by a numeric picture such as "#,##0.00".
#include <string>

#include "format/Regional.h"

// Numeric picture: '0' digit always shown, '#' digit shown when significant, '.' decimal
// separator, ',' thousands grouping, "E+" "E-" "e+" "e-" exponent, ';' separates the
// positive;negative;zero sections, quoted text copied. "#0.00#": 1 -> "1.00", 0.987 -> "0.987".
// The exponent shows at least as many digits as '0's follow "E+"; "E+" always shows the
// sign, "E-" only a minus. The negative section shows no minus of its own; an empty or
// missing section falls back to the first; a value that rounds to zero uses the zero section
// (or the first, without minus). Other characters are copied; the minus goes first.
// An empty picture, or a value of 1E15 or more (once rounded to 15 significant digits) for a
// picture without exponent, gives the general format (FloatToStr), since digits beyond the
// 15th would be made up.
std::string FormatFloat(const std::string& picture, double value,
                        const TRegionalSettings& rs = RegionalSettings());
