// UEGO 4100 Interface: start-up.
#include <QApplication>
#include <QScreen>

#include "app/QuitOnSignal.h"
#include "app/Startup.h"
#include "monitor/MainWindow.h"
#include "platform/QtErrorDisplay.h"
#include "platform/QtRegional.h"
#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("UEGO 4100 Interface");
    QApplication::setDesktopFileName("uego4100");
    SetMainThread();
    InstallQtSynchronizeHook();
    InstallMessageBoxErrorDisplay();
    SetRegionalSettings(RegionalSettingsFromSystemLocale());

    CreateApplicationWindows();
    CentreOnScreen(Form1);
    Form1->show();
    CloseWindowOnTermination(Form1);
    // Closing the main window hides any dialog still shown, so the last window closes and
    // the message loop ends with the main window.
    int result = app.exec();
    DestroyApplicationWindows();
    RemoveQtSynchronizeHook();
    return result;
}
