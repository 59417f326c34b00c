#include "AbGraphicControl.h"

TAbGraphicControl::TAbGraphicControl(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TAbGraphicControl::BeginUpdate() {
    ++FUpdateCount;
}

void TAbGraphicControl::EndUpdate() {
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount == 0)
        Change();
}

void TAbGraphicControl::Change() {
    if (FUpdateCount == 0)
        ParamChange(this);
}

void TAbGraphicControl::ParamChange(QObject* Sender) {
    (void)Sender;
}
