#include "BeneathBuffer.h"

#include <QPainter>

TBeneathBuffer::TBeneathBuffer(const QSize& size, double devicePixelRatio)
    : QCPPaintBufferPixmap(size, devicePixelRatio) {}

void TBeneathBuffer::clear(const QColor& color) {
    FHoldsBeneath = FBeneath != nullptr && color.alpha() == 0 &&
                    FBeneath->size() == mBuffer.size() &&
                    FBeneath->devicePixelRatio() == mBuffer.devicePixelRatio();
    if (FHoldsBeneath) {
        if (mBuffer.hasAlphaChannel()) {
            // An opaque buffer is copied, not blended, into the window.
            mBuffer = QPixmap(FBeneath->size());
        }
        // Copied line by line into the buffer's own pixels, which stay allocated.
        QPainter painter(&mBuffer);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(0, 0, *FBeneath);
    } else {
        QCPPaintBufferPixmap::clear(color);
    }
}
