#pragma once
#include "Regional.h"

// The user's settings read from QLocale::system(), converted to the pictures of Regional.h.
TRegionalSettings RegionalSettingsFromSystemLocale();
