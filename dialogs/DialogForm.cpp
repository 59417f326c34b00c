#include "DialogForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <utility>

#include "platform/ErrorDisplay.h"

namespace {
// The window of this program that had the focus last. While another application has it,
// the program has no focus window; that leaves this as it was, so a return from another
// application finds here the window it returns to.
QPointer<QWindow>& LastFocusWindow() {
    static QPointer<QWindow> window;
    return window;
}

void TrackFocusWindows() {
    static const bool tracking = [] {
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp,
                         [](QWindow* window) {
                             if (window != nullptr) {
                                 LastFocusWindow() = window;
                             }
                         });
        return true;
    }();
    (void)tracking;
}
} // namespace

TDialogForm::TDialogForm(QWidget* mainWindow, const QString& caption, int clientWidth,
                         int clientHeight)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      FMainWindow(mainWindow) {
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
    QFont f("Tahoma");
    f.setFamilies({"Tahoma", "Liberation Sans", "Nimbus Sans", "Arial"});
    f.setPixelSize(11);
    setFont(f);
    setModal(false);
    TrackFocusWindows();
}

void TDialogForm::SetMainWindowEnabled(bool enabled) {
    if (FMainWindow != nullptr) {
        FMainWindow->setEnabled(enabled);
    }
}

void TDialogForm::CentreOnMainWindow() {
    QRect area;
    if (FMainWindow != nullptr) {
        area = FMainWindow->frameGeometry();
    } else if (screen() != nullptr) {
        area = screen()->availableGeometry();
    }
    if (area.isValid()) {
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TDialogForm::ShowForm() {
    if (!isVisible()) {
        winId(); // create the native window so it can get its transient parent
        if (FMainWindow != nullptr && windowHandle() != nullptr) {
            FMainWindow->winId();
            windowHandle()->setTransientParent(FMainWindow->windowHandle());
        }
        CentreOnMainWindow();
    }
    show();
    raise();
    activateWindow();
}

void TDialogForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) {
        FShowActivationDue = true;
        GuardedCall([this] { FormShow(); });
    }
}

bool TDialogForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && ActivationComesFromWithinProgram()) {
        GuardedCall([this] { FormActivate(); });
    }
    return QDialog::event(e);
}

bool TDialogForm::ActivationComesFromWithinProgram() {
    // The focus window changes after the window is told it is active, so the one recorded
    // is still the window the user comes from.
    const bool afterShow = std::exchange(FShowActivationDue, false);
    return afterShow || LastFocusWindow() != windowHandle();
}

void TDialogForm::closeEvent(QCloseEvent* e) {
    GuardedCall([this] { FormClose(); });
    e->accept();
}

void TDialogForm::reject() {
    close();
}
