#pragma once
// Slide switches: TAbSwitch holds orientation, outer bevel, button colours and the frame and
// leaves the face to DrawSwitch; TAbToggleSwitch draws a track in the state colour, a raised
// button over one half and the state text on the free half.
#include <QString>

#include "AbBevel.h"
#include "AbBinGControl.h"
#include "AbText.h"

enum TBtnOrientation { boHorizontal, boVertical };

struct TSwitchFace {
    TRect Button;  // the button with its black outline
    TPoint Anchor; // centre of the text on the free half
};
// Face layout in R; TopLeft puts the button on the top (upright) or left (flat) half.
TSwitchFace AbToggleSwitchFace(const TRect& R, bool TopLeft, bool vertical);
// Whether (X, Y) lies on the free half of a w x h switch.
bool AbSwitchFreeHalf(int w, int h, bool TopLeft, bool vertical, int X, int Y);

class TAbSwitch : public TAbBinGControl {
public:
    explicit TAbSwitch(QWidget* parent = nullptr);
    ~TAbSwitch() override;

    TBtnOrientation Orientation() const { return FOrientation; }
    // Swaps width and height to stand upright or lie flat.
    void SetOrientation(TBtnOrientation v);
    TAbSBevel& BevelOuter() { return FBevelOuter; }
    bool SwapGraphic() const { return FSwapGraphic; }
    void SetSwapGraphic(bool v);
    TColor BtnColorShadow() const { return FBtnColorShadow; }
    void SetBtnColorShadow(TColor v);
    TColor BtnColorHighlight() const { return FBtnColorHighlight; }
    void SetBtnColorHighlight(TColor v);
    TColor BtnColorFace() const { return FBtnColorFace; }
    void SetBtnColorFace(TColor v);
    int BtnBevelWidth() const { return FBtnBevelWidth; }
    // Negative widths are ignored.
    void SetBtnBevelWidth(int v);
    // Area inside the outer bevel at the last full paint.
    TRect SwitchRect() const { return rSwitch; }
    bool Vertical() const { return vertical; }
    // Button position: Checked, inverted by SwapGraphic.
    bool State() const { return Checked() != FSwapGraphic; }

    void ParamChange(QObject* Sender) override;
    void StatusChanged() override;
    // Draws the face into R (origin of the face image).
    virtual void DrawSwitch(TAbCanvas& canvas, const TRect& R, bool TopLeft, bool vertical);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void PaintFace(TAbCanvas& canvas);

private:
    template <class T> void SetFace(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        StatusChanged();
    }

    TBtnOrientation FOrientation = boVertical;
    TAbSBevel FBevelOuter;
    bool FSwapGraphic = false;
    TColor FBtnColorShadow = clBtnShadow;
    TColor FBtnColorHighlight = clBtnHighlight;
    TColor FBtnColorFace = clBtnFace;
    int FBtnBevelWidth = 2;
    TRect rSwitch;
    bool vertical = true;
    bool FLaidOut = false;
};

class TAbToggleSwitch : public TAbSwitch {
public:
    explicit TAbToggleSwitch(QWidget* parent = nullptr);

    QString TextOff() const { return FTextOff; }
    void SetTextOff(const QString& v);
    QString TextOn() const { return FTextOn; }
    void SetTextOn(const QString& v);
    TColor ColorOn() const { return FColorOn; }
    void SetColorOn(TColor v);
    TColor ColorOff() const { return FColorOff; }
    void SetColorOff(TColor v);

    void DrawSwitch(TAbCanvas& canvas, const TRect& R, bool TopLeft, bool vertical) override;

private:
    template <class T> void SetLook(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        ParamChange(this);
    }

    QString FTextOff = QStringLiteral("0");
    QString FTextOn = QStringLiteral("1");
    TColor FColorOn = clLime;
    TColor FColorOff = clRed;
};
