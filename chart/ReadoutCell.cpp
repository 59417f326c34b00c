#include "ReadoutCell.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>

#include "format/DigitWidths.h"

TReadoutCell::TReadoutCell(QWidget* parent) : QWidget(parent), FLabel(new QLabel(this)) {
    setSizePolicy(FLabel->sizePolicy()); // a label's, kind included, for the layout's spacing
    FLabel->installEventFilter(this);
}

TReadoutCell* TReadoutCell::Of(QLabel* label) {
    return static_cast<TReadoutCell*>(label->parentWidget());
}

void TReadoutCell::SetText(const QString& text) {
    if (FLabel->text() == text) {
        return;
    }
    const bool sameWidth = SameWidthAsShown(text);
    // The label is as large as the cell and cannot change size, so its own request to be
    // laid out again goes nowhere; the cell makes it when the width can have changed.
    FLabel->setText(text);
    if (!sameWidth) {
        updateGeometry();
    }
}

bool TReadoutCell::SameWidthAsShown(const QString& text) {
    if (FLabel->font() != FMeasuredFont) {
        FMeasuredFont = FLabel->font();
        FDigitsEquallyWide = DigitsEquallyWide(FMeasuredFont);
        FShapeKnown = false;
    }
    QString shape = DigitShape(text);
    const bool sameShape = FShapeKnown && shape == FShape;
    FShape = std::move(shape);
    FShapeKnown = true;
    if (FDigitsEquallyWide) {
        return sameShape;
    }
    // Digits of unequal widths: the new text is measured, once, which is still far less than
    // laying the window out. The shown text's width was kept when it was new.
    const qreal width = QFontMetricsF(FMeasuredFont).horizontalAdvance(text);
    const bool sameWidth = sameShape && width == FShownWidth;
    FShownWidth = width;
    return sameWidth;
}

QSize TReadoutCell::sizeHint() const {
    return FLabel->sizeHint();
}

QSize TReadoutCell::minimumSizeHint() const {
    return FLabel->minimumSizeHint();
}

void TReadoutCell::resizeEvent(QResizeEvent* /*event*/) {
    FLabel->setGeometry(rect());
    FLabel->setFixedSize(size());
}

bool TReadoutCell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FLabel &&
        (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
         event->type() == QEvent::ContentsRectChange)) {
        FShapeKnown = false;
        updateGeometry();
    }
    return QWidget::eventFilter(watched, event);
}
