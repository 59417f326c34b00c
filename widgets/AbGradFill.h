#pragma once
// Surface gradients: bands of colour running from one colour to another in the geometry
// named by a TGradientStyle. The band layout is pure and testable; AbGradFill paints it.
#include "AbBase.h"
#include "AbCanvas.h"

// Number of bands: the largest per-channel difference of the resolved colours (at least 1),
// limited by the extent of the area along the run of the style.
int AbGradBandCount(TColor rgbFrom, TColor rgbTo, TGradientStyle Style, int width, int height);
// Position 0..1 of pixel (x, y) along the run of the style in a width x height area;
// 0 gets the From colour, 1 the To colour.
double AbGradPosition(TGradientStyle Style, int x, int y, int width, int height);
// Band index 0..bands-1 of a position.
int AbGradBand(double position, int bands);

// Fills r with the gradient, composed off-screen and then copied.
void AbGradFill(TAbCanvas& canvas, const TRect& r, TColor ColFrom, TColor ColTo,
                TGradientStyle Style);
