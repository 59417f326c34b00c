#pragma once
// A reading as large as its place allows: the text is centred and drawn in the largest font
// that fits the widget. The font is fitted again only when the widget is resized or the
// text gets more or fewer characters, so a new reading costs one text repaint.
#include <QFont>
#include <QWidget>

class TBigNumber : public QWidget {
    Q_OBJECT
public:
    explicit TBigNumber(QWidget* parent = nullptr);

    void SetText(const QString& text);
    const QString& Text() const { return FText; }
    // The colour of the digits; invalid: the palette's window text colour.
    void SetColor(const QColor& color);
    int PixelSize() const { return FFont.pixelSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QString FText;
    QColor FColor;
    QFont FFont;
    qsizetype FFittedLength = -1;
};
