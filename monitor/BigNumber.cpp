#include "BigNumber.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
// The widest digit stands for every digit, so readings of one length share one size.
QString WidestOfLength(const QString& text) {
    QString sample = text;
    for (QChar& c : sample) {
        if (c.isDigit()) {
            c = QChar('8');
        }
    }
    return sample;
}
} // namespace

TBigNumber::TBigNumber(QWidget* parent) : QWidget(parent) {
    FFont = font();
    FFont.setBold(true);
    FFont.setPixelSize(12);
}

void TBigNumber::SetText(const QString& text) {
    if (text == FText) {
        return;
    }
    FText = text;
    if (FText.size() != FFittedLength) {
        Fit();
    }
    update();
}

void TBigNumber::SetColor(const QColor& color) {
    if (color == FColor) {
        return;
    }
    FColor = color;
    update();
}

void TBigNumber::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Fit();
}

void TBigNumber::Fit() {
    FFittedLength = FText.size();
    if (FText.isEmpty() || width() < 4 || height() < 4) {
        return;
    }
    const QString sample = WidestOfLength(FText);
    // Cap height and width both bound the size; halve the range until it is found.
    int low = 4;
    int high = height() * 2;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        QFont f = FFont;
        f.setPixelSize(mid);
        const QFontMetrics m(f);
        if (m.horizontalAdvance(sample) <= width() && m.capHeight() <= height() * 0.8) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    FFont.setPixelSize(low);
}

void TBigNumber::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(FFont);
    p.setPen(FColor.isValid() ? FColor : palette().color(QPalette::WindowText));
    // Centred on the digits themselves, not on the font's line box.
    const QFontMetrics m(FFont);
    const int x = (width() - m.horizontalAdvance(FText)) / 2;
    const int baseline = (height() + m.capHeight()) / 2;
    p.drawText(x, baseline, FText);
}
