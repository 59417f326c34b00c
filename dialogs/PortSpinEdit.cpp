#include "PortSpinEdit.h"

#include <QRegularExpression>
#include <algorithm>

int PortNumberFromText(const QString& text) {
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*([+-]?)0*(\\d+)\\s*$"));
    const QRegularExpressionMatch match = wholeNumber.match(text);
    if (!match.hasMatch()) {
        return MinPortNumber;
    }
    const QString digits = match.captured(2);
    if (match.captured(1) == QLatin1String("-")) {
        return MinPortNumber;
    }
    // More digits than any port number has: far above the range, whatever their value.
    if (digits.size() > 3) {
        return MaxPortNumber;
    }
    return std::clamp(digits.toInt(), MinPortNumber, MaxPortNumber);
}

TPortSpinEdit::TPortSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setRange(MinPortNumber, MaxPortNumber);
}

QValidator::State TPortSpinEdit::validate(QString& /*input*/, int& /*pos*/) const {
    // Every text stands for a port number (see PortNumberFromText).
    return QValidator::Acceptable;
}

int TPortSpinEdit::valueFromText(const QString& text) const {
    return PortNumberFromText(text);
}
