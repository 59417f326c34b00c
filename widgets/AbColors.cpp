#include "AbColors.h"

#include <QGuiApplication>

namespace {

// Palette role standing for a system colour index.
QPalette::ColorRole RoleOfSystemColor(int index) {
    switch (index) {
    case 5:
        return QPalette::Base;
    case 7:
    case 8:
        return QPalette::WindowText;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15:
        return QPalette::Button;
    case 16:
        return QPalette::Dark;
    case 17:
        return QPalette::PlaceholderText;
    case 18:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light;
    case 21:
        return QPalette::Shadow;
    case 22:
        return QPalette::Midlight;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

QPalette FallbackPalette() {
    QPalette p(QColor(240, 240, 240));
    p.setColor(QPalette::Dark, QColor(160, 160, 160));
    p.setColor(QPalette::Light, QColor(255, 255, 255));
    return p;
}

} // namespace

TColor FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

TColor ColorToRGB(TColor c, const QPalette& palette) {
    if (!IsSystemColor(c))
        return c & 0x00FFFFFFu;
    const QColor q = palette.color(QPalette::Active, RoleOfSystemColor(int(c & 0xFF)));
    return FromQColor(q);
}

TColor ColorToRGB(TColor c) {
    if (!IsSystemColor(c))
        return c & 0x00FFFFFFu;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return ColorToRGB(c, QGuiApplication::palette());
    return ColorToRGB(c, FallbackPalette());
}

QColor ToQColor(TColor c, const QPalette& palette) {
    const TColor rgb = ColorToRGB(c, palette);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QColor ToQColor(TColor c) {
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
