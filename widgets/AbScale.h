#pragma once
// The round scale: tick marks and numeric labels around the dial, the optional arc line and
// the coloured sector band. Layout comes from AbScaleGeometry; this file measures and paints.
#include <QFont>
#include <array>
#include <string>
#include <vector>

#include "AbAnalogSettings.h"
#include "AbBase.h"
#include "AbCanvas.h"
#include "AbScaleGeometry.h"

class TScaleSettings : public TAbPersistent {
public:
    TScaleSettings();

    TColor Color() const { return FColor; }
    TColor PointerColor() const { return FPointerColor; }
    bool DrawLine() const { return FDrawLine; }
    const QFont& Font() const { return FFont; }
    TColor FontColor() const { return FFontColor; }
    bool PosLeftTop() const { return FPosLeftTop; }
    int Steps() const { return FSteps; }
    int SubSteps() const { return FSubSteps; }
    const std::string& ValueFormat() const { return FValueFormat; }
    const std::string& ValueFormatLog() const { return FValueFormatLog; }

    void SetColor(TColor v) { SetField(FColor, v); }
    void SetPointerColor(TColor v) { SetField(FPointerColor, v); }
    // Always notifies.
    void SetDrawLine(bool v);
    void SetFont(const QFont& font);
    void SetFontColor(TColor v) { SetField(FFontColor, v); }
    void SetPosLeftTop(bool v) { SetField(FPosLeftTop, v); }
    // Values outside 1..20 are ignored; an accepted value always notifies.
    void SetSteps(int v);
    // Values outside 1..10 are ignored; an accepted value always notifies.
    void SetSubSteps(int v);
    void SetValueFormat(const std::string& v) { SetField(FValueFormat, v); }
    void SetValueFormatLog(const std::string& v) { SetField(FValueFormatLog, v); }

    // Layout derived by the last measurement and drawing.
    const std::string& Text() const { return FText; }
    const std::vector<std::string>& Labels() const { return FLabels; }
    int TextW() const { return FTextW; }
    int TextH() const { return FTextH; }
    int PenW1() const { return FPenW1; }
    int PenW2() const { return FPenW2; }
    int Spacing() const { return FSpacing; }
    int sl1() const { return Fsl1; }
    int sl2() const { return Fsl2; }
    const std::array<QPoint, 4>& LinePos() const { return FLinePos; }
    bool LogScale() const { return FLogScale; }
    void SetLogScale(bool v) { FLogScale = v; }
    int LogSteps() const { return FLogSteps; }
    int exp1() const { return Fexp1; }
    int exp2() const { return Fexp2; }
    const TRoundScaleGeometry& Geometry() const { return FGeometry; }

    // Builds the label list for the range (no measuring).
    void BuildLabels(float valueFrom, float valueTo);
    // Builds and measures the labels with the scale font.
    void CalcRSize(TAbCanvas& canvas, float valueFrom, float valueTo);
    // Draws ticks and labels inside r for a scale from alphaFrom sweeping alpha degrees;
    // returns the pointer square in r.
    void RoundScala(TAbCanvas& canvas, TRect& r, int alphaFrom, int alpha);

private:
    void DrawLabel(TAbCanvas& canvas, QPoint centre, const std::string& label);

    TColor FColor = clBlack;
    TColor FPointerColor = clLime;
    bool FDrawLine = true;
    QFont FFont;
    TColor FFontColor = clWindowText;
    bool FPosLeftTop = false;
    int FSteps = 5;
    int FSubSteps = 2;
    std::string FValueFormat = "##0";
    std::string FValueFormatLog = "0e-0";

    std::string FText;
    std::vector<std::string> FLabels;
    int FTextW = 0;
    int FTextH = 0;
    int FPenW1 = 2;
    int FPenW2 = 1;
    int FSpacing = 4;
    int Fsl1 = 14;
    int Fsl2 = 7;
    std::array<QPoint, 4> FLinePos{};
    bool FLogScale = false;
    int FLogSteps = 1;
    int Fexp1 = 0;
    int Fexp2 = 0;
    TRoundScaleGeometry FGeometry;
};

// The pie wedge of the ellipse inscribed in r from angle `start` clockwise by `sweep`
// degrees (0 straight up), filled with the canvas brush.
void AbRoundSector(TAbCanvas& canvas, const TRect& r, int start, int sweep);

// The sector band (clipped to the ring inside rSector) and the arc line along the scale.
void DrawRSector(TAbCanvas& canvas, const TRect& rSector, const TSectorSettings& sectors,
                 const TScaleSettings& scale, int startAngle, int rotAngle);

// The arc line's start angle and counter-clockwise span in the painter's convention
// (0 at three o'clock, counter-clockwise positive), from the LinePos points.
void ScaleArcAngles(const std::array<QPoint, 4>& linePos, double& startDeg, double& spanDeg);
