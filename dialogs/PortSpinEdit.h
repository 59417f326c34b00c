#pragma once
// The port number field of the Com Port dialog. Any text may be typed; what is not a whole
// number counts as 1, and on leaving the field (or on Enter) its value is brought into
// 1 to 255 and shown, so the field always shows the number "Open" will use.
#include <QSpinBox>

constexpr int MinPortNumber = 1;
constexpr int MaxPortNumber = 255;

// The port number a text stands for: a whole number brought into 1 to 255, anything else 1.
int PortNumberFromText(const QString& text);

class TPortSpinEdit : public QSpinBox {
public:
    explicit TPortSpinEdit(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};
