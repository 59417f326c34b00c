#include "TextFit.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

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
} // namespace

void KeepLabelFittedToText(QLabel* label) {
    new TLabelFit(label);
    FitLabel(label);
}

void KeepTextWithinField(QLineEdit* field) {
    const int designPixelSize = field->font().pixelSize();
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [field, designPixelSize] { FitFieldFont(field, designPixelSize); });
    FitFieldFont(field, designPixelSize);
}
