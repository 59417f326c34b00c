#include "Startup.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdlib>

#include "dialogs/AboutDialog.h"
#include "dialogs/CanSetupDialog.h"
#include "dialogs/ComPortDialog.h"
#include "dialogs/SensorSetupDialog.h"
#include "monitor/MainWindow.h"

namespace {
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}
} // namespace

std::string MissingDisplay() {
    const std::string platform = Environment("QT_QPA_PLATFORM");
    const bool x11 = Environment("DISPLAY").empty() == false;
    const bool wayland = Environment("WAYLAND_DISPLAY").empty() == false;
    std::string missing;
    if (platform.empty() && !x11 && !wayland) {
        missing = "DISPLAY is not set";
    } else if (platform.rfind("xcb", 0) == 0 && !x11) {
        missing = "DISPLAY is not set";
    } else if (platform.rfind("wayland", 0) == 0 && !wayland) {
        missing = "WAYLAND_DISPLAY is not set";
    }
    return missing.empty() ? missing
                           : "no display (" + missing + "); use --headless to run without a window";
}

void CreateApplicationWindows() {
    Form1 = new TForm1();
    CalForm = new TCalForm(*Form1);
    CANform = new TCANform(*Form1);
    AboutForm = new TAboutForm(Form1);
    ComPortForm = new TComPortForm(*Form1);
}

void DestroyApplicationWindows() {
    // The main window goes first: destroying it closes the port and the log, and with the
    // port closed no receive notification can reach a dialog being destroyed.
    delete Form1;
    Form1 = nullptr;
    delete ComPortForm;
    ComPortForm = nullptr;
    delete AboutForm;
    AboutForm = nullptr;
    delete CANform;
    CANform = nullptr;
    delete CalForm;
    CalForm = nullptr;
}

namespace {
QScreen* ScreenOf(QWidget* window) {
    QScreen* screen = window->screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

// The frame's margins around the client area, as far as the window system has told them.
QMargins FrameMargins(QWidget* window) {
    if (window->isVisible()) {
        const QRect frame = window->frameGeometry();
        const QRect client = window->geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    }
    return window->windowHandle() != nullptr ? window->windowHandle()->frameMargins() : QMargins();
}

void PlaceCentred(QWidget* window) {
    QScreen* screen = ScreenOf(window);
    if (screen == nullptr) {
        return;
    }
    const QMargins margins = FrameMargins(window);
    QRect frame(QPoint(), window->size().grownBy(margins));
    frame.moveCenter(screen->availableGeometry().center());
    // The client area's place; the frame lies around it.
    const QPoint client = frame.topLeft() + QPoint(margins.left(), margins.top());
    if (window->geometry().topLeft() != client) {
        window->setGeometry(QRect(client, window->size()));
    }
}
} // namespace

void CentreOnScreen(QWidget* window) {
    // Polished and laid out, the window has its final size, menu bar included.
    window->ensurePolished();
    if (QLayout* layout = window->layout()) {
        layout->activate();
    }
    window->winId();
    PlaceCentred(window);
    QTimer::singleShot(0, window, [window] { PlaceCentred(window); });
}
