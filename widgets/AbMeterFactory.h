#pragma once
// The main window's lambda dial (Meter1): a 270-degree meter from 0.65 to 1.35 with a grey
// needle and the caption LAMBDA.
#include <QWidget>

#include "AbRMeter.h"

// Meter1's sector settings: one silver sector over the whole range (the band is not drawn).
void ApplyMeter1Sectors(TSectorSettings& sectors);

// Applies Meter1's stored settings to a freshly created meter, in loading order, and
// finishes its loading.
void ConfigureMeter1(TAb270Meter& meter);

// A new meter configured as Meter1 at its place on the main window (121, 32).
TAb270Meter* CreateMeter1(QWidget* parent);
