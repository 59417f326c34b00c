#include "NightTheme.h"

#include <QApplication>
#include <QWidget>
#include <optional>

namespace {
std::optional<QPalette>& DayPalette() {
    static std::optional<QPalette> day;
    return day;
}
bool& Night() {
    static bool night = false;
    return night;
}
} // namespace

QPalette NightPalette() {
    const QColor window(32, 34, 37);
    const QColor text(214, 214, 214);
    const QColor dimmed(120, 120, 120);
    QPalette p(window);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(20, 21, 23));
    p.setColor(QPalette::AlternateBase, QColor(40, 42, 46));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(46, 49, 54));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 90, 90));
    p.setColor(QPalette::Light, QColor(86, 90, 97));
    p.setColor(QPalette::Midlight, QColor(64, 67, 73));
    p.setColor(QPalette::Mid, QColor(38, 40, 44));
    p.setColor(QPalette::Dark, QColor(18, 19, 21));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::Highlight, QColor(52, 94, 150));
    p.setColor(QPalette::HighlightedText, QColor(240, 240, 240));
    p.setColor(QPalette::ToolTipBase, QColor(46, 49, 54));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, dimmed);
    p.setColor(QPalette::Link, QColor(110, 160, 230));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, dimmed);
    }
    return p;
}

void ApplyNightTheme(bool night) {
    if (night == Night()) {
        return;
    }
    if (!DayPalette()) {
        DayPalette() = QApplication::palette();
    }
    Night() = night;
    QApplication::setPalette(night ? NightPalette() : *DayPalette());
    // Qt hands a new palette on to the windows only once its event loop runs; the theme
    // remembered from the last run is applied before that. Each window passes it on to its
    // children, the instrument widgets among them.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QEvent changed(QEvent::ApplicationPaletteChange);
        QCoreApplication::sendEvent(window, &changed);
    }
}

bool NightThemeOn() {
    return Night();
}
