#pragma once
// One text of the chart's readout, which changes with every reading. A label placed in the
// window's layout has the whole window laid out again each time its text changes. In a cell
// the label keeps its place, and the layout is asked again only when the text's width can
// have changed: a new shape of digits ("9.9" to "10.1"), or, in a font whose digits differ
// in width, a text of another measure. The cell takes the label's size wishes as its own, so it is
// laid out as the label would be, and the label fills it.
#include <QFont>
#include <QString>
#include <QWidget>

class QLabel;

class TReadoutCell : public QWidget {
public:
    explicit TReadoutCell(QWidget* parent);

    QLabel* Label() const { return FLabel; }
    // The cell of a label it holds.
    static TReadoutCell* Of(QLabel* label);
    void SetText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool SameWidthAsShown(const QString& text);

    QLabel* FLabel;
    QFont FMeasuredFont;
    bool FDigitsEquallyWide = false;
    QString FShape;
    bool FShapeKnown = false;
    qreal FShownWidth = 0; // in a font of unequal digits, while the shape is known
};
