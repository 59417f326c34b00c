#pragma once
// The round meter: a scale with labels around a rotating pointer, framed by bevels, with
// captions below and optional sector band, unit caption and minimum/maximum markers.
// A full paint renders everything and keeps the background under the pointer; a value
// change only recomposes the pointer square from that saved background.
#include <QFont>
#include <QImage>
#include <QSize>
#include <array>
#include <cstdint>

#include "AbAnalogGControl.h"
#include "AbBevel.h"
#include "AbOptionSet.h"
#include "AbScale.h"
#include "AbScaleGeometry.h"

enum TRMeterOption : uint8_t {
    opBevelInner,
    opBevelOuter,
    opName1,
    opName2,
    opOverflow,
    opLimit,
    opSector,
    opUnit
};
using TRMeterOptions = TAbOptionSet<TRMeterOption>;

enum TMeterType { Ab360Meter, Ab270Meter, Ab180Meter, Ab120Meter };

// Pointer shape and colours.
class TArrowSettings : public TAbPersistent {
public:
    int Shape() const { return FShape; }
    TColor ColorPen() const { return FColorPen; }
    TColor ColorBrush() const { return FColorBrush; }
    TColor ColorCP1Pen() const { return FColorCP1Pen; }
    TColor ColorCP1Brush() const { return FColorCP1Brush; }
    TColor ColorCP2Pen() const { return FColorCP2Pen; }
    TColor ColorCP2Brush() const { return FColorCP2Brush; }

    void SetShape(int v) { SetField(FShape, v); }
    void SetColorPen(TColor v) { SetField(FColorPen, v); }
    void SetColorBrush(TColor v) { SetField(FColorBrush, v); }
    void SetColorCP1Pen(TColor v) { SetField(FColorCP1Pen, v); }
    void SetColorCP1Brush(TColor v) { SetField(FColorCP1Brush, v); }
    void SetColorCP2Pen(TColor v) { SetField(FColorCP2Pen, v); }
    void SetColorCP2Brush(TColor v) { SetField(FColorCP2Brush, v); }

private:
    int FShape = 0;
    TColor FColorPen = clBlack;
    TColor FColorBrush = clLime;
    TColor FColorCP1Pen = clBlack;
    TColor FColorCP1Brush = clBlack;
    TColor FColorCP2Pen = clBlack;
    TColor FColorCP2Brush = clBtnFace;
};

class TAbRMeter : public TAbAnalogGControl {
public:
    explicit TAbRMeter(QWidget* parent = nullptr);
    ~TAbRMeter() override;

    // --- properties ---
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    TArrowSettings& ArrowSettings() { return FArrowSettings; }
    const QFont& FontUnit() const { return FFontUnit; }
    TColor FontUnitColor() const { return FFontUnitColor; }
    void SetFontUnit(const QFont& font, TColor color);
    TAbSBevel& BevelInner() { return FBevelInner; }
    TAbSBevel& BevelOuter() { return FBevelOuter; }
    TRMeterOptions Options() const { return FOptions; }
    void SetOptions(TRMeterOptions options);
    TScaleSettings& ScaleSettings() { return FScaleSettings; }
    const TScaleSettings& ScaleSettings() const { return FScaleSettings; }

    // --- fixed geometry of the meter type ---
    int StartAngle() const { return FStartAngle; }
    int RotAngle() const { return FRotAngle; }
    float HeightFactor() const { return FHeightFactor; }
    TMeterType MeterType() const { return FMeterType; }

    // --- state ---
    bool isToSmall() const { return FisToSmall; }
    const TRect& rPointer() const { return FrPointer; }
    const QImage& BmpPointerArea() const { return FBmpPointerArea; }
    bool Flashing() const { return FFlashing; }
    TColor FlashColor() const { return FFlashColor; }
    QSize sName1() const { return FsName1; }
    QSize sName2() const { return FsName2; }
    QSize sUnit() const { return FsUnit; }
    uint16_t min_w() const { return Fmin_w; }
    uint16_t min_h() const { return Fmin_h; }
    const TArrowField& ArrowStartPos() const { return FArrowStartPos; }
    const TArrowField& ArrowActPos() const { return FArrowActPos; }
    const std::array<QPoint, 3>& minPointer() const { return FminPointer; }
    const std::array<QPoint, 3>& maxPointer() const { return FmaxPointer; }
    // Paints done so far: whole control, and pointer square only.
    int FullPaints() const { return FFullPaints; }
    int PointerPaints() const { return FPointerPaints; }

    // --- operations ---
    void Loaded() override;
    void ParamChange(QObject* Sender) override;
    void ValueChange() override;
    void OverflowChange(int ppt) override;
    void LimitChange() override;
    void LogScaleChanged() override;
    // An alarm of the owner's: while on, the pointer blinks as it does for a limit.
    bool AlarmFlash() const { return FAlarmFlash; }
    void SetAlarmFlash(bool on);
    // A blink phase from the flash service (1 red, 0 yellow).
    void WMFlash(int phase);

    // Measures captions and labels and computes the minimum size.
    void CalcSize(TAbCanvas& canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

    void SetFixedGeometry(int startAngle, int rotAngle, float heightFactor, TMeterType type);

private:
    void RequestFullPaint();
    void RequestPointerPaint();
    bool HasBackground() const;
    void RenderBackground();
    void PaintBackground(TAbCanvas& canvas);
    void PaintCaptions(TAbCanvas& canvas, TRect& r, int space);
    void PaintUnit(TAbCanvas& canvas);
    void SaveBackground();
    void BuildPointerTemplates();
    // Pointer square: the saved background (unless already painted), markers, pointer, hub.
    void DrawPointer(QPainter& painter, bool restoreBackground);
    void DrawMarkers(QPainter& p);
    void DrawArrow(QPainter& p);
    void DrawMarker(QPainter& p, const std::array<QPoint, 3>& marker, int ppt, TColor own);
    void DrawHub(QPainter& p, QPoint pivot, int radius, TColor pen, TColor brush);
    // The pointer and a marker where the value and the minimum and maximum put them now.
    TArrowField ArrowNow() const;
    std::array<QPoint, 3> MarkerNow(const std::array<QPoint, 3>& start, int ppt) const;
    // The control's pixels the pointer, its hubs and the visible markers cover.
    QRect PointerFootprint(const TArrowField& arrow, const std::array<QPoint, 3>& min,
                           const std::array<QPoint, 3>& max) const;
    // Blinks while an enabled alarm (overflow, limit) is on; stops otherwise.
    void PointerFlash();
    void ApplyAutoSize();
    QColor Resolve(TColor c) const;

    bool FAutoSize = true;
    TArrowSettings FArrowSettings;
    QFont FFontUnit;
    TColor FFontUnitColor = clBlack;
    TAbSBevel FBevelInner;
    TAbSBevel FBevelOuter;
    TRMeterOptions FOptions = TRMeterOptions::All();
    TScaleSettings FScaleSettings;

    int FStartAngle = 225;
    int FRotAngle = 270;
    float FHeightFactor = 1.18f;
    TMeterType FMeterType = Ab270Meter;

    bool FisToSmall = false;
    QImage FBackground;     // the whole control as last fully painted, without the pointer
    QImage FBmpPointerArea; // the pointer square's part of it
    TRect FrPointer;
    QRect FPointerDrawn; // what the last paint drew of the pointer; empty before the first
    bool FFlashing = false;
    bool FFlashRegistered = false;
    bool FAlarmFlash = false;
    TColor FFlashColor = clRed;
    bool FvChange = false;
    bool FFullPaintPending = true;
    QSize FsName1, FsName2, FsUnit;
    uint16_t Fmin_w = 0;
    uint16_t Fmin_h = 0;
    TArrowField FArrowStartPos;
    TArrowField FArrowActPos;
    std::array<QPoint, 3> FminPointerStart{};
    std::array<QPoint, 3> FmaxPointerStart{};
    std::array<QPoint, 3> FminPointer{};
    std::array<QPoint, 3> FmaxPointer{};
    int FFullPaints = 0;
    int FPointerPaints = 0;
};

// The 270-degree dial: starts at 225 degrees (lower left), ends at 135 (lower right).
class TAb270Meter : public TAbRMeter {
public:
    explicit TAb270Meter(QWidget* parent = nullptr);
};
