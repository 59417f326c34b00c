#include "TextFit.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include "format/DigitWidths.h"

namespace {
void FitLabel(QLabel* label) {
    const QSize hint = label->sizeHint();
    if (label->size() != hint) {
        label->resize(hint);
    }
}

// A text change makes the label ask its parent for a new layout (only while the parent is
// visible); a hidden parent's labels are fitted when it is shown.
class TLabelFit : public QObject {
public:
    explicit TLabelFit(QLabel* label) : QObject(label), FLabel(label) {
        label->parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Show) {
            FitLabel(FLabel);
        }
        return false;
    }

private:
    QLabel* FLabel;
};

// The edit keeps this many pixels free on either side of its text.
constexpr int FieldTextMargin = 2;
constexpr int SmallestFieldFont = 6;

// The width the field has for its text.
int TextRoom(const QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    const QRect contents =
        field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    return contents.marginsRemoved(field->textMargins()).width() - 2 * FieldTextMargin;
}

bool Fits(const QLineEdit* field, const QFont& font) {
    // The edit scrolls once the text and its cursor no longer fit.
    return QFontMetrics(font).horizontalAdvance(field->text()) + 1 <= TextRoom(field);
}

void FitFieldFont(QLineEdit* field, int designPixelSize) {
    QFont font = field->font();
    font.setPixelSize(designPixelSize);
    while (font.pixelSize() > SmallestFieldFont && !Fits(field, font)) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    if (font.pixelSize() != field->font().pixelSize()) {
        field->setFont(font);
    }
}

// Refits a field's font when its text may have changed width. A reading that changes only
// digits, in a font whose digits are equally wide, keeps the width and is not measured again.
class TFieldFit : public QObject {
public:
    TFieldFit(QLineEdit* field, int designPixelSize)
        : QObject(field), FField(field), FDesignPixelSize(designPixelSize) {
        connect(field, &QLineEdit::textChanged, this, [this] { TextChanged(); });
        Refit();
    }

private:
    void TextChanged() {
        const QFont& font = FField->font();
        if (font != FMeasuredFont) {
            FMeasuredFont = font;
            FDigitsEquallyWide = DigitsEquallyWide(font);
            FShape.clear();
        }
        const QString shape = DigitShape(FField->text());
        if (FDigitsEquallyWide && shape == FShape && FField->width() == FFittedWidth) {
            return;
        }
        FShape = shape;
        Refit();
    }

    void Refit() {
        FitFieldFont(FField, FDesignPixelSize);
        FFittedWidth = FField->width();
    }

    QLineEdit* FField;
    int FDesignPixelSize;
    QFont FMeasuredFont;
    bool FDigitsEquallyWide = false;
    QString FShape;
    int FFittedWidth = -1;
};
} // namespace

void KeepLabelFittedToText(QLabel* label) {
    new TLabelFit(label);
    FitLabel(label);
}

void KeepTextWithinField(QLineEdit* field) {
    new TFieldFit(field, field->font().pixelSize());
}
