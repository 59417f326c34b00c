#include "format/DigitWidths.h"

#include <QFont>
#include <QFontMetrics>

QString DigitShape(const QString& text) {
    QString shape = text;
    for (QChar& c : shape) {
        if (c.isDigit()) {
            c = u'0';
        }
    }
    return shape;
}

bool DigitsEquallyWide(const QFont& font) {
    const QFontMetrics metrics(font);
    const int zero = metrics.horizontalAdvance(u'0');
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (metrics.horizontalAdvance(QChar(digit)) != zero) {
            return false;
        }
    }
    return true;
}
