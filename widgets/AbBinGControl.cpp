#include "AbBinGControl.h"

#include <QMouseEvent>
#include <algorithm>

#include "AbFlashT.h"
#include "platform/ErrorDisplay.h"

namespace {

uint64_t NextCreationNo = 0;

constexpr int32_t BitWord(int32_t bit) {
    return int32_t(uint32_t(1) << bit);
}
constexpr bool BitSet(int32_t word, int32_t bit) {
    return ((uint32_t(word) >> bit) & 1u) != 0;
}

int32_t LowestSetBit(int32_t word) {
    for (int32_t i = 0; i < 32; ++i)
        if (BitSet(word, i))
            return i;
    return 32;
}

} // namespace

TAbBinGControl::TAbBinGControl(QWidget* parent) : QWidget(parent), FCreationNo(++NextCreationNo) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        if (!FCaptionSet && FCaption != name) {
            FCaption = name;
            ParamChange(this);
        }
    });
}

TAbBinGControl::~TAbBinGControl() {
    DelControl(this);
}

void TAbBinGControl::SetCaption(const QString& text) {
    FCaptionSet = true;
    if (text == FCaption)
        return;
    FCaption = text;
    ParamChange(this);
}

void TAbBinGControl::StartFlashing() {
    AddControl(this, 2 + int64_t(FFrequency));
}

void TAbBinGControl::SetChecked(bool V) {
    if (V == FChecked)
        return;
    FChecked = V;
    if (V && FFlashing)
        StartFlashing();
    else
        DelControl(this);
    if (FChecked) {
        if (FMode == mRadioButton)
            SetStatusInt(BitWord(FStatusBit));
        else
            SetStatusInt(int32_t(uint32_t(FStatusInt) | uint32_t(BitWord(FStatusBit))));
    } else if (FMode != mRadioButton) {
        SetStatusInt(int32_t(uint32_t(FStatusInt) & ~uint32_t(BitWord(FStatusBit))));
    }
    StatusChanged();
    if (OnStatusChanged)
        OnStatusChanged(this);
}

void TAbBinGControl::SetStatusInt(int32_t V) {
    if (V == FStatusInt)
        return;
    FStatusInt = V;
    SetChecked(BitSet(V, FStatusBit));
    FFirstCheckedBit = LowestSetBit(FStatusInt);
    StatusIntChanged();
    if (OnStatusIntChanged)
        OnStatusIntChanged(this);
    if (FGroupIndex != 0 && !GroupUpdate) {
        GroupUpdate = true;
        try {
            for (TAbBinGControl* c : OwnerComponents())
                if (c->FGroupIndex == FGroupIndex)
                    c->SetStatusInt(FStatusInt);
        } catch (...) {
            GroupUpdate = false;
            throw;
        }
        GroupUpdate = false;
    }
}

void TAbBinGControl::SetStatusBit(int32_t V) {
    if (V == FStatusBit || V < 0 || V > 31)
        return;
    FStatusBit = V;
    SetChecked(BitSet(FStatusInt, V));
}

void TAbBinGControl::SeTMode(TMode V) {
    FMode = V;
    if (V == mButton)
        SetStatusInt(0);
    else if (V == mRadioButton)
        SetStatusInt(1);
}

void TAbBinGControl::SetGroupIndex(int32_t V) {
    if (V == FGroupIndex || V < 0)
        return;
    FGroupIndex = V;
    if (V != 0) {
        for (TAbBinGControl* c : OwnerComponents()) {
            if (c->FGroupIndex == V) {
                SetStatusInt(c->FStatusInt);
                break;
            }
        }
    }
    GroupIndexChanged();
}

void TAbBinGControl::SetFlashing(bool V) {
    if (V == FFlashing)
        return;
    FFlashing = V;
    if (FChecked && V)
        StartFlashing();
    else
        DelControl(this);
    StatusChanged();
    if (OnStatusChanged)
        OnStatusChanged(this);
}

void TAbBinGControl::SetFrequency(TFlashFreq V) {
    FFrequency = V;
    if (FChecked && FFlashing)
        StartFlashing();
}

std::vector<TAbBinGControl*> TAbBinGControl::OwnerComponents() const {
    // The window owns every control on it, whatever panel or frame holds it; controls of
    // another window placed inside this one (a dialog with this window as its parent)
    // belong to that one.
    QWidget* owner = window();
    std::vector<TAbBinGControl*> list;
    if (auto* self = const_cast<TAbBinGControl*>(this); owner == self) {
        list.push_back(self);
        return list;
    }
    for (QWidget* w : owner->findChildren<QWidget*>())
        if (auto* c = dynamic_cast<TAbBinGControl*>(w); c && c->window() == owner)
            list.push_back(c);
    std::stable_sort(list.begin(), list.end(),
                     [](auto* a, auto* b) { return a->FCreationNo < b->FCreationNo; });
    return list;
}

void TAbBinGControl::ParamChange(QObject* Sender) {
    (void)Sender;
}
void TAbBinGControl::StatusChanged() {}
void TAbBinGControl::GroupIndexChanged() {}
void TAbBinGControl::StatusIntChanged() {}
void TAbBinGControl::Flash(bool status) {
    (void)status;
}

bool TAbBinGControl::event(QEvent* e) {
    if (e->type() == TWMFlash::EventType()) {
        auto* message = static_cast<TWMFlash*>(e);
        const bool on = message->LParam != 0;
        message->Handle([&] { Flash(on); });
        return true;
    }
    return QWidget::event(e);
}

void TAbBinGControl::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    GuardedCall([&] { MouseDown(e->button(), e->modifiers(), p.x(), p.y()); });
}

void TAbBinGControl::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    GuardedCall([&] { MouseUp(e->button(), e->modifiers(), p.x(), p.y()); });
}

void TAbBinGControl::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
    if (Button != Qt::LeftButton)
        return;
    FMouseIsDown = true;
    switch (FMode) {
    case mButton:
        SetChecked(true);
        break;
    case mSwitch:
        SetChecked(!FChecked);
        break;
    case mRadioButton:
        SetStatusInt(BitWord(FStatusBit));
        break;
    case mIndicator:
        break;
    }
}

void TAbBinGControl::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
    if (FMode == mIndicator || Button != Qt::LeftButton)
        return;
    FMouseIsDown = false;
    if (FMode == mButton)
        SetChecked(false);
    StatusChanged();
}
