#include "AbNumEditColor.h"

namespace {

// System colour indexes the fields can meet, mapped to the nearest palette role.
QPalette::ColorRole SystemRole(uint32_t index) {
    switch (index) {
    case 1:  // desktop
    case 4:  // menu
    case 15: // button face
        return QPalette::Button;
    case 7:  // menu text
    case 8:  // window text
    case 18: // button text
        return QPalette::WindowText;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlight text
        return QPalette::HighlightedText;
    case 16: // button shadow
        return QPalette::Dark;
    case 20: // button highlight
        return QPalette::Light;
    case 24: // info background
        return QPalette::ToolTipBase;
    default: // 5, the window background, and anything else
        return QPalette::Base;
    }
}

} // namespace

QColor NumEditQColor(uint32_t color, const QPalette& palette) {
    if ((color >> 24) == 0xFF)
        return palette.color(QPalette::Active, SystemRole(color & 0xFF));
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

uint32_t NumEditColorValue(const QColor& color) {
    return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
           static_cast<uint32_t>(color.blue()) << 16;
}
