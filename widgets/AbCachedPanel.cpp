#include "AbCachedPanel.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <optional>

#include "AbOpaque.h"

namespace {

// What the style draws the panel from.
struct TPanelKey {
    QSize Size;
    qreal PixelRatio = 0;
    QStyle::State State;
    qint64 Palette = 0;
    Qt::LayoutDirection Direction = Qt::LeftToRight;
    int LineWidth = 0;
    int MidLineWidth = 0;
    QStyleOptionFrame::FrameFeatures Features;
    QFrame::Shape Shape = QFrame::NoFrame;

    bool operator==(const TPanelKey&) const = default;
};

TPanelKey KeyOf(const QStyleOptionFrame& option, const QPainter& painter) {
    return {option.rect.size(),  painter.device()->devicePixelRatioF(),
            option.state,        option.palette.cacheKey(),
            option.direction,    option.lineWidth,
            option.midLineWidth, option.features,
            option.frameShape};
}

// The one colour the field sits on, if it sits on one: its window's flat background, with no
// widget in between that fills a background of its own.
std::optional<QColor> FlatBackdrop(const QWidget* field) {
    if (field == nullptr) {
        return std::nullopt;
    }
    const QWidget* window = field->window();
    for (const QWidget* w = field->parentWidget(); w != nullptr && w != window;
         w = w->parentWidget()) {
        if (w->autoFillBackground()) {
            return std::nullopt;
        }
    }
    const QBrush brush = window->palette().brush(window->backgroundRole());
    if (window == field || window->testAttribute(Qt::WA_TranslucentBackground) ||
        brush.style() != Qt::SolidPattern || !brush.isOpaque()) {
        return std::nullopt;
    }
    return brush.color();
}

class TCachedPanelStyle : public QProxyStyle {
public:
    explicit TCachedPanelStyle(QStyle* base) : QProxyStyle(base) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (element != PE_PanelLineEdit || frame == nullptr || !FUsable || frame->rect.isEmpty()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const TPanelKey key = KeyOf(*frame, *painter);
        const std::optional<QColor> backdrop = FlatBackdrop(widget);
        if (FPanel.isNull() || !(key == FKey) || backdrop != FBackdrop) {
            FKey = key;
            FBackdrop = backdrop;
            FPanel = Render(*frame, key.PixelRatio, widget);
            // On a flat backdrop the picture is the panel laid on it, the very pixels of a
            // direct drawing, and covers the field: the window need not paint beneath.
            FUsable = backdrop.has_value() || SameAsDirect(*frame, widget);
            if (widget != nullptr) {
                PaintsOpaqueFrom(const_cast<QWidget*>(widget), FUsable ? FPanel : QImage());
            }
            if (!FUsable) {
                FPanel = QImage();
                QProxyStyle::drawPrimitive(element, option, painter, widget);
                return;
            }
        }
        painter->drawImage(frame->rect.topLeft(), FPanel);
    }

private:
    // The panel alone, on a picture of the field's size: laid on the backdrop when there is
    // one (an opaque picture is copied, not blended, into the window), transparent otherwise.
    QImage Render(const QStyleOptionFrame& frame, qreal ratio, const QWidget* widget) const {
        QImage image(frame.rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(FBackdrop.value_or(Qt::transparent));
        QStyleOptionFrame local = frame;
        local.rect.moveTopLeft(QPoint(0, 0));
        {
            QPainter painter(&image);
            QProxyStyle::drawPrimitive(PE_PanelLineEdit, &local, &painter, widget);
        }
        if (FBackdrop) {
            image.convertTo(QImage::Format_RGB32);
        }
        return image;
    }

    // The picture laid on the window's colour gives the pixels of a direct drawing there.
    bool SameAsDirect(const QStyleOptionFrame& frame, const QWidget* widget) const {
        QStyleOptionFrame local = frame;
        local.rect.moveTopLeft(QPoint(0, 0));
        const QColor backdrop = frame.palette.color(QPalette::Window);
        QImage direct(FPanel.size(), QImage::Format_ARGB32_Premultiplied);
        direct.setDevicePixelRatio(FPanel.devicePixelRatio());
        direct.fill(backdrop);
        QImage laid = direct;
        {
            QPainter painter(&direct);
            QProxyStyle::drawPrimitive(PE_PanelLineEdit, &local, &painter, widget);
        }
        {
            QPainter painter(&laid);
            painter.drawImage(QPoint(0, 0), FPanel);
        }
        return direct == laid;
    }

    mutable TPanelKey FKey;
    mutable std::optional<QColor> FBackdrop;
    mutable QImage FPanel;
    mutable bool FUsable = true;
};

} // namespace

void KeepPanelCached(QLineEdit* field) {
    // A style object of the application's kind of its own, so the field keeps drawing exactly
    // as its neighbours do.
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    if (base == nullptr) {
        return;
    }
    auto* style = new TCachedPanelStyle(base);
    style->setParent(field);
    field->setStyle(style);
}
