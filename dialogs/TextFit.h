#pragma once
// Texts that change while the program runs stay whole on screen.
class QLabel;
class QLineEdit;

// The label, placed by its top-left corner, keeps the size of its text: it grows or shrinks
// from that corner whenever its text changes, as a window's static texts do.
void KeepLabelFittedToText(QLabel* label);

// A field the program writes numbers into keeps its font while the text fits and takes the
// largest smaller size that fits when it does not, so a long reading is never cut off or
// scrolled out of view.
void KeepTextWithinField(QLineEdit* field);
