#pragma once
#include "format/Regional.h"

class QLocale;

// The user's settings read from QLocale::system(), converted to the pictures of Regional.h.
TRegionalSettings RegionalSettingsFromSystemLocale();
// The same for any locale: separators (a separator outside ASCII becomes a blank for
// thousands and '.' for decimals), short date and long time pictures, AM/PM texts.
TRegionalSettings RegionalSettingsFromLocale(const QLocale& locale);
