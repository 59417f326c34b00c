#include "AbBase.h"

void TAbPersistent::Change() {
    if (OnChange)
        OnChange(this);
}

void TAbPersistent::ChangeObject(QObject* Sender) {
    if (OnChange)
        OnChange(Sender);
}

TRect TAbOffset::SetOffset(TRect r) const {
    r.Left += FLeft;
    r.Top += FTop;
    r.Right -= FRight;
    r.Bottom -= FBottom;
    return r;
}
