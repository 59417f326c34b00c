#include "BeneathBuffer.h"

TBeneathBuffer::TBeneathBuffer(const QSize& size, double devicePixelRatio)
    : QCPPaintBufferPixmap(size, devicePixelRatio) {}

void TBeneathBuffer::clear(const QColor& color) {
    FHoldsBeneath = FBeneath != nullptr && color.alpha() == 0 &&
                    FBeneath->size() == mBuffer.size() &&
                    FBeneath->devicePixelRatio() == mBuffer.devicePixelRatio();
    if (FHoldsBeneath) {
        mBuffer = *FBeneath; // shared until the redraw paints on it
    } else {
        QCPPaintBufferPixmap::clear(color);
    }
}
