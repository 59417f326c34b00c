// UEGO 4100 Interface: start-up. The command line is read before any window system is
// reached, so --help, --version, --list-ports and bad usage work on a machine without one.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "app/AppIcon.h"
#include "app/BenchHistory.h"
#include "app/CommandLine.h"
#include "app/CommandLineActions.h"
#include "app/Headless.h"
#include "app/PortList.h"
#include "app/QuitOnSignal.h"
#include "app/Startup.h"
#include "format/QtRegional.h"
#include "monitor/MainWindow.h"
#include "platform/QtErrorDisplay.h"
#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"

namespace {

// A program started with a standard descriptor closed (>&-) would hand that number to the
// first file it opens, and its output would go there: the three get /dev/null instead.
void FillClosedStandardDescriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != fd) {
                ::dup2(opened, fd);
                ::close(opened);
            }
        }
    }
}

// Headless: Qt's own warnings (fonts, platform plugins) stay off standard error, which
// carries the program's link changes and errors.
void QuietQtMessages(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "uego4100: %s\n", text.toLocal8Bit().constData());
    }
}

QStringList ArgumentsAfterName(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QFile::decodeName(argv[i]);
    }
    return arguments;
}

// The answers that need no window: help, version, port list. Returns true when one was given.
bool AnswerWithoutWindow(const TCommandLine& commandLine) {
    if (commandLine.Help) {
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
    } else if (commandLine.Version) {
        std::puts(VersionText().toLocal8Bit().constData());
    } else if (commandLine.ListPorts) {
        for (const std::string& line : PortListLines()) {
            std::puts(line.c_str());
        }
    } else {
        return false;
    }
    return true;
}

int RunWindow(const TCommandLine& commandLine) {
    InstallMessageBoxErrorDisplay();
    CreateApplicationWindows();
    FillBenchHistory(*Form1);
    CentreOnScreen(Form1);
    Form1->show();
    CloseWindowOnTermination(Form1);
    // Once the window is up, so a failure's message box stands in front of it.
    QTimer::singleShot(0, Form1, [commandLine] { ApplyCommandLine(commandLine); });
    // Closing the main window hides any dialog still shown, so the last window closes and
    // the message loop ends with the main window.
    const int result = QApplication::exec();
    DestroyApplicationWindows();
    return result;
}

} // namespace

int main(int argc, char* argv[]) {
    FillClosedStandardDescriptors();
    TCommandLine commandLine;
    QString error;
    if (!ParseCommandLine(ArgumentsAfterName(argc, argv), commandLine, error)) {
        QString reason = error;
        if (reason.endsWith('.')) {
            reason.chop(1);
        }
        PrintProgramError(reason.toStdString() + "; see uego4100 --help");
        return ExitUsage;
    }
    if (AnswerWithoutWindow(commandLine)) {
        return ExitOk;
    }
    // Before any port is opened: a signal from now on ends the run with the log complete.
    InstallTerminationHandlers();
    if (LogFileRefused(commandLine)) {
        PrintProgramError(LogExistsMessage(commandLine.LogFile));
        return ExitLog;
    }
    if (commandLine.Headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietQtMessages);
    } else if (const std::string missing = MissingDisplay(); !missing.empty()) {
        PrintProgramError(missing);
        return ExitUsage;
    }
    // Qt sees only the program's name: every option is the program's own.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName("UEGO 4100 Interface");
    QApplication::setDesktopFileName("uego4100");
    QApplication::setWindowIcon(ApplicationIcon());
    SetMainThread();
    InstallQtSynchronizeHook();
    SetRegionalSettings(RegionalSettingsFromSystemLocale());

    const int result = commandLine.Headless ? RunHeadless(commandLine) : RunWindow(commandLine);
    RemoveQtSynchronizeHook();
    return result;
}
