#pragma once
// A reading as large as its place allows: the text is centred and drawn in the largest font
// that fits the widget. The font is fitted again only when the widget is resized or the
// text gets more or fewer characters. Each character is drawn once into an image of its own
// and kept, in each ink and size it was shown in, so a new reading only copies a few images,
// and only the text's place is redrawn: glyphs this large would otherwise be filled as
// outlines on every reading.
#include <QFont>
#include <QHash>
#include <QImage>
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
    void changeEvent(QEvent* event) override;

private:
    void Fit();
    // Where the text is drawn; empty without text.
    QRect TextRect() const;
    const QImage& Glyph(QChar c);
    QColor Ink() const;

    QString FText;
    QColor FColor;
    QFont FFont;
    qsizetype FFittedLength = -1;
    // Glyph pictures by size, ink and character: the ink turns to the alarm colour and back,
    // and a reading of another length may take another size, so both kinds are kept.
    struct TGlyphKey {
        int PixelSize;
        QRgb Ink;
        char16_t Char;
        bool operator==(const TGlyphKey&) const = default;
    };
    friend size_t qHash(const TGlyphKey& key, size_t seed) {
        return qHashMulti(seed, key.PixelSize, key.Ink, key.Char);
    }
    QHash<TGlyphKey, QImage> FGlyphs;
    qsizetype FGlyphBytes = 0;
};
