#include "BigNumber.h"

#include <QEvent>
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
    const QRect before = TextRect();
    FText = text;
    if (FText.size() != FFittedLength) {
        Fit();
        update();
        return;
    }
    update(before.united(TextRect()));
}

void TBigNumber::SetColor(const QColor& color) {
    if (color == FColor) {
        return;
    }
    FColor = color;
    update();
}

QColor TBigNumber::Ink() const {
    return FColor.isValid() ? FColor : palette().color(QPalette::WindowText);
}

void TBigNumber::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Fit();
}

void TBigNumber::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        FGlyphs.clear();
        FGlyphBytes = 0;
        update();
    }
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

QRect TBigNumber::TextRect() const {
    if (FText.isEmpty()) {
        return {};
    }
    // Centred on the digits themselves, not on the font's line box.
    const QFontMetrics m(FFont);
    int w = 0;
    for (const QChar c : FText) {
        w += m.horizontalAdvance(c); // as painted, a character at a time
    }
    const int baseline = (height() + m.capHeight()) / 2;
    return QRect((width() - w) / 2, baseline - m.ascent(), w, m.height());
}

const QImage& TBigNumber::Glyph(QChar c) {
    const QColor ink = Ink();
    const TGlyphKey key{FFont.pixelSize(), ink.rgba(), c.unicode()};
    auto found = FGlyphs.constFind(key);
    if (found != FGlyphs.constEnd()) {
        return *found;
    }
    // A handful of characters in two inks and a few sizes; a window dragged through many
    // sizes starts afresh rather than keeping them all: each glyph this large is a picture
    // of a few hundred kilobytes.
    constexpr qsizetype MostKeptBytes = 8 << 20;
    if (FGlyphBytes >= MostKeptBytes) {
        FGlyphs.clear();
        FGlyphBytes = 0;
    }
    const QFontMetrics m(FFont);
    const qreal dpr = devicePixelRatioF();
    QImage image(QSize(std::max(1, m.horizontalAdvance(c)), m.height()) * dpr,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setFont(FFont);
    p.setPen(ink);
    p.drawText(0, m.ascent(), QString(c));
    p.end();
    FGlyphBytes += image.sizeInBytes();
    return *FGlyphs.insert(key, image);
}

void TBigNumber::paintEvent(QPaintEvent*) {
    const QRect text = TextRect();
    if (text.isEmpty()) {
        return;
    }
    QPainter p(this);
    const QFontMetrics m(FFont);
    int x = text.left();
    for (const QChar c : FText) {
        p.drawImage(QPoint(x, text.top()), Glyph(c));
        x += m.horizontalAdvance(c);
    }
}
