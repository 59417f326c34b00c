#include "DialogForm.h"

#include <QCloseEvent>
#include <QScreen>
#include <QWindow>

#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"

TDialogForm::TDialogForm(const QString& caption, int clientWidth, int clientHeight)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
    QFont f("Tahoma");
    f.setFamilies({"Tahoma", "Liberation Sans", "Nimbus Sans", "Arial"});
    f.setPixelSize(11);
    setFont(f);
    setModal(false);
}

void SetMainWindowEnabled(bool enabled) {
    if (Form1 != nullptr) {
        Form1->setEnabled(enabled);
    }
}

void TDialogForm::CentreOnMainWindow() {
    QRect area;
    if (Form1 != nullptr) {
        area = Form1->frameGeometry();
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
        if (Form1 != nullptr && windowHandle() != nullptr) {
            Form1->winId();
            windowHandle()->setTransientParent(Form1->windowHandle());
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
        GuardedCall([this] { FormShow(); });
    }
}

bool TDialogForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        GuardedCall([this] { FormActivate(); });
    }
    return QDialog::event(e);
}

void TDialogForm::closeEvent(QCloseEvent* e) {
    GuardedCall([this] { FormClose(); });
    e->accept();
}

void TDialogForm::reject() {
    close();
}
