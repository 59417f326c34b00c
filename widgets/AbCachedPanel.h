#pragma once
// A field whose text the program changes ten times a second repaints its frame and background
// each time, and the style strokes that frame with edge smoothing: most of what a reading's
// repaint costs. KeepPanelCached gives the field the application's style with that frame and
// background kept as a picture for as long as the field's size, state and colours stay the
// same; the text is drawn as before. On a window's flat background the picture is the frame
// laid on that colour, and the field then covers its whole rectangle, so the window does not
// paint beneath it. Elsewhere each new picture is checked against a direct drawing once and
// is not used where the two differ by a single pixel.
class QLineEdit;

void KeepPanelCached(QLineEdit* field);
