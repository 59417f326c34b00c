#pragma once
// The paint buffer of the plot's lowest layers. While the plot follows the readings, what
// stays put beneath the data (the background, the bands, the lambda grid) is drawn into a
// picture once. This buffer then starts each redraw as that picture instead of clear: the
// redraw draws straight onto it, and the window copies one opaque picture rather than laying
// a transparent plot-sized one over another.
#include <qcustomplot.h>

class TBeneathBuffer : public QCPPaintBufferPixmap {
public:
    TBeneathBuffer(const QSize& size, double devicePixelRatio);

    // The picture a redraw starts from, or none (a clear start). It must outlive its use.
    void StartFrom(const QPixmap* beneath) { FBeneath = beneath; }
    // The last redraw started from the picture, so the buffer covers every pixel.
    bool HoldsBeneath() const { return FHoldsBeneath; }

    void clear(const QColor& color) override;

private:
    const QPixmap* FBeneath = nullptr;
    bool FHoldsBeneath = false;
};
