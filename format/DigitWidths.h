#pragma once
// Readings change their digits far more often than their shape: "0.998" and "1.003" are as
// wide as each other in a font whose digits are equally wide. Texts that change ten times a
// second are measured again only when their shape changes.
#include <QString>

class QFont;

// `text` with every digit made a 0: texts of one shape are equally wide where the digits are.
QString DigitShape(const QString& text);

// Whether the ten digits of `font` advance equally far.
bool DigitsEquallyWide(const QFont& font);
