#pragma once
// Settings objects shared by the instrument widgets: the change-notifying base and the two
// small settings a bevel owns (content inset and surface gradient).
#include <QObject>
#include <functional>

#include "AbColors.h"
#include "AbGeometry.h"

// Single-subscriber notification with its sender; an unset callback is skipped.
using TAbNotifyEvent = std::function<void(QObject* Sender)>;

// Base of every settings object. Each setter stores only a differing value and then calls
// Change, which tells the owner through OnChange.
class TAbPersistent : public QObject {
public:
    TAbPersistent() = default;
    TAbNotifyEvent OnChange;

    // Fires OnChange with this object as sender.
    virtual void Change();
    // Fires OnChange passing the given sender through.
    virtual void ChangeObject(QObject* Sender);

protected:
    template <class T> void SetField(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        Change();
    }
};

// Inset applied to the content rectangle after a bevel.
class TAbOffset : public TAbPersistent {
public:
    int Top() const { return FTop; }
    int Left() const { return FLeft; }
    int Right() const { return FRight; }
    int Bottom() const { return FBottom; }
    void SetTop(int v) { SetField(FTop, v); }
    void SetLeft(int v) { SetField(FLeft, v); }
    void SetRight(int v) { SetField(FRight, v); }
    void SetBottom(int v) { SetField(FBottom, v); }
    // r moved in by the four offsets.
    TRect SetOffset(TRect r) const;

private:
    int FTop = 0;
    int FLeft = 0;
    int FRight = 0;
    int FBottom = 0;
};

enum TGradientStyle {
    gsHorizontal1,
    gsHorizontal2,
    gsHorizontal3,
    gsVertical1,
    gsVertical2,
    gsVertical3,
    gsElliptic1,
    gsElliptic2,
    gsElliptic3,
    gsRectangle,
    gsDiamond1,
    gsDiamond2,
    gsTopLeft,
    gsTopRight
};

// Surface gradient inside a bevel.
class TAbGradSettings : public TAbPersistent {
public:
    TColor ColorFrom() const { return FColorFrom; }
    TColor ColorTo() const { return FColorTo; }
    bool Visible() const { return FVisible; }
    TGradientStyle Style() const { return FStyle; }
    void SetColorFrom(TColor v) { SetField(FColorFrom, v); }
    void SetColorTo(TColor v) { SetField(FColorTo, v); }
    void SetVisible(bool v) { SetField(FVisible, v); }
    void SetStyle(TGradientStyle v) { SetField(FStyle, v); }

private:
    TColor FColorFrom = RGB(226, 226, 226);
    TColor FColorTo = RGB(143, 143, 143);
    bool FVisible = false;
    TGradientStyle FStyle = gsHorizontal1;
};
