#pragma once
// Caption text placed by an anchor point: which point of a line sits on the anchor, and
// multi-line captions ("|" separates lines) kept together as a block.
#include <QString>
#include <vector>

#include "AbCanvas.h"

enum toPos {
    toTopLeft,
    toTopCenter,
    toTopRight,
    toMidLeft,
    toMidCenter,
    toMidRight,
    toBotLeft,
    toBotCenter,
    toBotRight
};

// Top-left corner of a tw x th line whose `Pos` point is placed on (X, Y).
TPoint AbTextOrigin(int X, int Y, int tw, int th, toPos Pos);

struct TAbTextLine {
    QString Text;
    int Y; // anchor y of this line
};
// The lines of a "|"-separated text and their anchor y, lh apart. A trailing "|" counts for
// the placement of the block but makes no empty line.
std::vector<TAbTextLine> AbTextLines(int Y, int lh, const QString& Text, toPos Pos);

void AbTextOut(TAbCanvas& canvas, int X, int Y, const QString& Text, toPos Pos);
// Line height is the height of "X" plus LineOffset.
void AbTextOutMultiLine(TAbCanvas& canvas, int X, int Y, int LineOffset, const QString& Text,
                        toPos Pos);
