#include "CommandLineActions.h"

#include "dialogs/ComPortDialog.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"

void OpenCommandLinePort(const TCommandLine& commandLine) {
    if (commandLine.PortNumber > 0) {
        ComPortForm->OpenPortNumber(commandLine.PortNumber);
    } else if (!commandLine.PortPath.empty()) {
        ComPortForm->OpenDevicePath(commandLine.PortPath);
    }
}

void StartCommandLineLog(const TCommandLine& commandLine) {
    if (!commandLine.LogFile.empty()) {
        Form1->StartLog(commandLine.LogFile, commandLine.LogFormat);
    }
}

void ApplyCommandLine(const TCommandLine& commandLine) {
    GuardedCall([&] { OpenCommandLinePort(commandLine); });
    GuardedCall([&] { StartCommandLineLog(commandLine); });
}
