// The program's start-up and end (its windows, error display and ending signals), polling the
// controller on COM1 with a data log open, and raising an error once the log has lines: for
// the test that sends an ending signal while the message box is up. Prints "box" once the box
// is shown and, after the event loop has ended, "port N log N" (1: still open).
// Usage: uego_signal_target LOGFILE   (the port directory comes from XDG_RUNTIME_DIR)
#include <QApplication>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

#include "app/QuitOnSignal.h"
#include "app/Startup.h"
#include "dialogs/ComPortDialog.h"
#include "format/Formatting.h"
#include "format/Regional.h"
#include "datalog/LogFormat.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtErrorDisplay.h"
#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"
#include "serial/VaComm.h"

namespace {

void OpenPortAndLog(const std::string& logPath) {
    ComPortForm->SpinEdit2->setValue(1);
    ComPortForm->Button1Click();
    NameOfFile = logPath;
    Logfile.Create(NameOfFile);
    LogOn = true;
    Logfile.WriteLine(LogHeaderLine(LocalNow()));
}

int Readings = 0;

void RaiseErrorAfterReadings(int count) {
    QObject::connect(Form1, &TForm1::LiveReadingDecoded, Form1, [count] {
        if (++Readings == count) {
            QTimer::singleShot(0, [] {
                GuardedCall([] { throw std::runtime_error("The controller reported a fault."); });
            });
        }
    });
}

void AnnounceMessageBox() {
    auto* watch = new QTimer(Form1);
    QObject::connect(watch, &QTimer::timeout, watch, [watch] {
        if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr) {
            std::puts("box");
            std::fflush(stdout);
            watch->stop();
        }
    });
    watch->start(20);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LOGFILE\n", argv[0]);
        return 2;
    }
    const std::string logPath = argv[1];
    QApplication app(argc, argv);
    SetMainThread();
    InstallQtSynchronizeHook();
    InstallMessageBoxErrorDisplay();
    SetRegionalSettings(EnglishRegionalSettings());
    CreateApplicationWindows();
    Form1->show();
    CloseWindowOnTermination(Form1);
    GuardedCall([&] { OpenPortAndLog(logPath); });
    RaiseErrorAfterReadings(3);
    AnnounceMessageBox();
    const int result = app.exec();
    std::printf("port %d log %d\n", Form1->VaComm1->Active() ? 1 : 0, LogOn ? 1 : 0);
    std::fflush(stdout);
    DestroyApplicationWindows();
    RemoveQtSynchronizeHook();
    return result;
}
