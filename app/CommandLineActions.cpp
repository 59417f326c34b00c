#include "CommandLineActions.h"

#include "dialogs/ComPortDialog.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"

void OpenCommandLinePort(const TCommandLine& commandLine) {
    if (commandLine.PortAuto) {
        ComPortForm->FindAndOpen();
    } else if (commandLine.PortNumber > 0) {
        ComPortForm->OpenPortNumber(commandLine.PortNumber);
    } else if (!commandLine.PortPath.empty()) {
        ComPortForm->OpenDevicePath(commandLine.PortPath);
    }
}

void StartCommandLineLog(const TCommandLine& commandLine) {
    if (commandLine.LogFile.empty()) {
        return;
    }
    // The file is made only if it is still not there: another program may have made it
    // since the program started.
    try {
        Form1->StartLog(commandLine.LogFile, commandLine.LogFormat,
                        commandLine.Overwrite ? TLogCreation::Replace : TLogCreation::New);
    } catch (const ELogFileExists&) {
        throw EInOutError(LogExistsMessage(commandLine.LogFile));
    }
}

void ApplyCommandLine(const TCommandLine& commandLine) {
    GuardedCall([&] { OpenCommandLinePort(commandLine); });
    GuardedCall([&] { StartCommandLineLog(commandLine); });
}
