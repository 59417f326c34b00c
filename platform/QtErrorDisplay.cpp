#include "QtErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QString>
#include <QThread>
#include <cstdio>
#include <string>

#include "ErrorDisplay.h"

namespace {

void ShowMessageBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok);
    box.exec();
}

void DisplayError(const std::string& message) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return;
    }
    const QString text = QString::fromStdString(message);
    if (QThread::currentThread() == app->thread()) {
        ShowMessageBox(text);
        return;
    }
    // Windows belong to the UI thread. The box is posted rather than waited for, so a UI
    // thread that is itself waiting for this worker cannot deadlock against it.
    QMetaObject::invokeMethod(
        app, [text] { ShowMessageBox(text); }, Qt::QueuedConnection);
}

} // namespace

void InstallMessageBoxErrorDisplay() {
    SetErrorDisplayHook(DisplayError);
}
