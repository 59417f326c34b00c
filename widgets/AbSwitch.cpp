#include "AbSwitch.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <algorithm>

#include "AbFlashT.h"

TSwitchFace AbToggleSwitchFace(const TRect& R, bool TopLeft, bool vertical) {
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    TSwitchFace face;
    face.Button = R;
    if (vertical) {
        if (TopLeft) {
            face.Button.Bottom = T + (B - T) / 2;
            face.Anchor = {L + (Rt - L) / 2, B - (B - T) / 4};
        } else {
            face.Button.Top = T + (B - T) / 2;
            face.Anchor = {L + (Rt - L) / 2, T + (B - T) / 4};
        }
    } else {
        if (TopLeft) {
            face.Button.Right = L + (Rt - L) / 2;
            face.Anchor = {Rt - (Rt - L) / 4, T + (B - T) / 2};
        } else {
            face.Button.Left = L + (Rt - L) / 2;
            face.Anchor = {L + (Rt - L) / 4, T + (B - T) / 2};
        }
    }
    return face;
}

bool AbSwitchFreeHalf(int w, int h, bool TopLeft, bool vertical, int X, int Y) {
    if (vertical)
        return TopLeft ? Y > h / 2 : Y < h / 2;
    return TopLeft ? X > w / 2 : X < w / 2;
}

// ---- TAbSwitch ---------------------------------------------------------------------------

TAbSwitch::TAbSwitch(QWidget* parent) : TAbBinGControl(parent) {
    FBevelOuter.SetWidth(1);
    FBevelOuter.SetSpacing(1);
    FBevelOuter.SetStyle(bsLowered);
    FBevelOuter.SetColor(clBtnShadow);
    FBevelOuter.SetBevelLine(blInner);
    FBevelOuter.OnChange = [this](QObject* Sender) { ParamChange(Sender); };
    SetMode(mSwitch);
}

TAbSwitch::~TAbSwitch() {
    FBevelOuter.OnChange = nullptr;
    DelControl(this);
}

void TAbSwitch::SetOrientation(TBtnOrientation v) {
    if (v == FOrientation)
        return;
    FOrientation = v;
    const int a = std::max(width(), height());
    const int b = std::min(width(), height());
    if (v == boVertical)
        resize(b, a);
    else
        resize(a, b);
    vertical = v == boVertical;
    ParamChange(this);
}

void TAbSwitch::SetSwapGraphic(bool v) {
    SetFace(FSwapGraphic, v);
}
void TAbSwitch::SetBtnColorShadow(TColor v) {
    SetFace(FBtnColorShadow, v);
}
void TAbSwitch::SetBtnColorHighlight(TColor v) {
    SetFace(FBtnColorHighlight, v);
}
void TAbSwitch::SetBtnColorFace(TColor v) {
    SetFace(FBtnColorFace, v);
}

void TAbSwitch::SetBtnBevelWidth(int v) {
    if (v < 0)
        return;
    SetFace(FBtnBevelWidth, v);
}

void TAbSwitch::ParamChange(QObject* Sender) {
    (void)Sender;
    update();
}

void TAbSwitch::StatusChanged() {
    if (!isVisible())
        return;
    if (FLaidOut)
        update(ToQRect(rSwitch));
    else
        update();
}

void TAbSwitch::DrawSwitch(TAbCanvas& canvas, const TRect& R, bool TopLeft, bool vertical) {
    (void)canvas;
    (void)R;
    (void)TopLeft;
    (void)vertical;
}

void TAbSwitch::PaintFace(TAbCanvas& canvas) {
    if (rSwitch.IsEmpty())
        return;
    QPainter& p = canvas.Painter();
    p.save();
    p.setClipRect(ToQRect(rSwitch), Qt::IntersectClip);
    p.translate(rSwitch.Left, rSwitch.Top);
    DrawSwitch(canvas, Rect(0, 0, rSwitch.Width(), rSwitch.Height()), State(), vertical);
    p.restore();
}

void TAbSwitch::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    TAbCanvas canvas(painter, palette());
    canvas.SetFont(font());
    if (!(FLaidOut && ToQRect(rSwitch).contains(e->rect()))) {
        TRect r = Rect(0, 0, width(), height());
        FBevelOuter.PaintFilledBevel(canvas, r);
        rSwitch = r;
        FLaidOut = true;
    }
    PaintFace(canvas);
}

void TAbSwitch::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton &&
        !AbSwitchFreeHalf(width(), height(), State(), vertical, p.x(), p.y()))
        return;
    TAbBinGControl::mousePressEvent(e);
}

// ---- TAbToggleSwitch ---------------------------------------------------------------------

TAbToggleSwitch::TAbToggleSwitch(QWidget* parent) : TAbSwitch(parent) {
    resize(25, 57);
}

void TAbToggleSwitch::SetTextOff(const QString& v) {
    SetLook(FTextOff, v);
}
void TAbToggleSwitch::SetTextOn(const QString& v) {
    SetLook(FTextOn, v);
}
void TAbToggleSwitch::SetColorOn(TColor v) {
    SetLook(FColorOn, v);
}
void TAbToggleSwitch::SetColorOff(TColor v) {
    SetLook(FColorOff, v);
}

void TAbToggleSwitch::DrawSwitch(TAbCanvas& canvas, const TRect& R, bool TopLeft, bool vertical) {
    const TColor c = Checked() ? FColorOn : FColorOff;
    const QString& s = Checked() ? FTextOn : FTextOff;
    const TSwitchFace face = AbToggleSwitchFace(R, TopLeft, vertical);

    canvas.SetBrush(c);
    canvas.SetPen(c);
    canvas.Rectangle(R);
    canvas.SetBrush(BtnColorFace());
    canvas.SetPen(clBlack);
    canvas.Rectangle(face.Button);

    TRect br = face.Button;
    AbBorder(br, 1);
    for (int n = 0; n < BtnBevelWidth(); ++n) {
        AbFrame3D(canvas, br, BtnColorHighlight(), BtnColorShadow());
        AbBorder(br, 1);
    }

    if (vertical) {
        for (int y = br.Top + 2; y < br.Bottom - 2; y += 4) {
            canvas.SetPen(BtnColorHighlight());
            canvas.Line({br.Left + 1, y}, {br.Right - 2, y});
            canvas.SetPen(BtnColorShadow());
            canvas.Line({br.Left + 1, y + 1}, {br.Right - 2, y + 1});
        }
    } else {
        for (int x = br.Left + 2; x < br.Right - 2; x += 4) {
            canvas.SetPen(BtnColorShadow());
            canvas.Line({x, br.Top + 2}, {x, br.Bottom - 2});
            canvas.SetPen(BtnColorHighlight());
            canvas.Line({x + 1, br.Top + 2}, {x + 1, br.Bottom - 2});
        }
    }

    canvas.SetBrushClear();
    canvas.SetFont(font());
    AbTextOutMultiLine(canvas, face.Anchor.X, face.Anchor.Y, 0, s, toMidCenter);
}
