#pragma once
// A widget that covers every pixel it is asked to repaint can tell the toolkit so
// (Qt::WA_OpaquePaintEvent): the window then does not paint its own background beneath it
// first. Widgets that paint from a picture ask this of the picture.
class QImage;
class QWidget;

// Whether no pixel of `image` lets anything beneath show through.
bool EveryPixelOpaque(const QImage& image);

// Marks `widget` as covering what it repaints exactly while `image`, what it paints from,
// is opaque throughout.
void PaintsOpaqueFrom(QWidget* widget, const QImage& image);
