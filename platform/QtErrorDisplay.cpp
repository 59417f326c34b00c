#include "platform/QtErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QString>
#include <QThread>
#include <cstdio>
#include <string>

#include "platform/ErrorDisplay.h"

namespace {

// An empty caption stands for the program's name, looked up here on the UI thread.
void ExecMessageBox(const QString& caption, const QString& text) {
    const QString title = caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    box.exec();
}

void DisplayBox(const std::string& caption, const std::string& message) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return;
    }
    const QString title = QString::fromStdString(caption);
    const QString text = QString::fromStdString(message);
    if (QThread::currentThread() == app->thread()) {
        ExecMessageBox(title, text);
        return;
    }
    // Windows belong to the UI thread. The box is posted rather than waited for, so a UI
    // thread that is itself waiting for this worker cannot deadlock against it.
    QMetaObject::invokeMethod(
        app, [title, text] { ExecMessageBox(title, text); }, Qt::QueuedConnection);
}

void DisplayError(const std::string& message) {
    DisplayBox({}, message);
}

} // namespace

void InstallMessageBoxErrorDisplay() {
    SetErrorDisplayHook(DisplayError);
    SetMessageBoxHook(DisplayBox);
}
