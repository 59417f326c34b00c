#include "Headless.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "app/CommandLineActions.h"
#include "app/QuitOnSignal.h"
#include "app/Startup.h"
#include "datalog/LogWriter.h"
#include "format/Formatting.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"
#include "serial/VaComm.h"

namespace {

// Ends the event loop when the main window closes; closing it has closed the port and log.
class TEndWithMainWindow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            QCoreApplication::exit(ExitOk);
        }
        return QObject::eventFilter(watched, event);
    }
};

// Closing goes through the event loop, never from inside a receive notification.
void EndRunSoon() {
    QTimer::singleShot(0, Form1, [] { Form1->close(); });
}

void PrintLine(const std::string& text) {
    const std::string line = text + "\n";
    if (std::fputs(line.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        // Whoever read the lines has gone (a closed pipe): end as on a signal.
        if (errno == EPIPE) {
            EndRunSoon();
        }
        std::clearerr(stdout);
    }
}

// Standard output in the log's format: for MSL and CSV their header lines at the start, then
// one line per reading, its time counted from the start of the run. The text log's lines come
// without the header, as they always have.
class TOutputFormat {
public:
    explicit TOutputFormat(TLogKind kind)
        : FWriter(MakeLogWriter(kind, Form1->LogFuel ? Form1->LogFuel() : TLogFuel())),
          FStart(std::chrono::steady_clock::now()) {
        for (const std::string& line :
             kind == TLogKind::Text ? std::vector<std::string>() : FWriter->Header(WallNow())) {
            PrintLine(line);
        }
    }
    void Reading(const TDecodedReading& reading) const {
        TLogRecord record;
        record.Wall = std::chrono::floor<std::chrono::milliseconds>(reading.When);
        record.Elapsed = std::chrono::duration<double>(reading.Monotonic - FStart).count();
        record.Lambda = reading.Lambda;
        record.Volts = reading.Volts;
        record.Warmup = reading.Warmup;
        PrintLine(FWriter->Reading(record));
    }

private:
    std::unique_ptr<TLogWriter> FWriter;
    std::chrono::steady_clock::time_point FStart;
};

void PrintLinkStatus(const std::string& portName, TLinkStatus status) {
    std::fprintf(stderr, "%s %s %s\n", TimeToStr(LocalNow()).c_str(), portName.c_str(),
                 LinkStatusText(status).c_str());
    std::fflush(stderr);
}

// Errors go to standard error. One that leaves a requested log closed means the log could
// not be written: the run ends with ExitLog.
class TErrorWatch {
public:
    explicit TErrorWatch(bool logRequested) : FLogRequested(logRequested) {
        FPrevious = SetErrorDisplayHook([this](const std::string& message) { Report(message); });
    }
    ~TErrorWatch() { SetErrorDisplayHook(FPrevious); }
    bool LogFailed() const { return FLogFailed; }

private:
    void Report(const std::string& message) {
        PrintProgramError(message);
        if (FLogRequested && !LogOn && !FLogFailed) {
            FLogFailed = true;
            EndRunSoon();
        }
    }

    bool FLogRequested;
    bool FLogFailed = false;
    TErrorDisplayHook FPrevious;
};

// Opens the port and starts the log; a failure is printed and gives the exit code.
int Start(const TCommandLine& commandLine) {
    try {
        OpenCommandLinePort(commandLine);
    } catch (const std::exception& e) {
        PrintProgramError(e.what());
        return ExitPort;
    }
    if (!Form1->VaComm1->Active()) {
        return ExitPort;
    }
    try {
        StartCommandLineLog(commandLine);
    } catch (const std::exception& e) {
        PrintProgramError(e.what());
        return ExitLog;
    }
    return ExitOk;
}

int RunWindowsUnseen(const TCommandLine& commandLine) {
    const int started = Start(commandLine);
    if (started != ExitOk) {
        return started;
    }
    // Changes are told under the name the port was opened by (COM5, or the path), also
    // after a lost device has been found again under another name.
    const std::string portName = Form1->VaComm1->GetDeviceName();
    const TOutputFormat output(commandLine.LogFormat);
    QObject::connect(Form1, &TForm1::LiveReadingDecoded, Form1,
                     [&output](const TDecodedReading& reading) { output.Reading(reading); });
    QObject::connect(Form1, &TForm1::LinkStatusChanged, Form1,
                     [portName](TLinkStatus status) { PrintLinkStatus(portName, status); });
    TEndWithMainWindow end;
    Form1->installEventFilter(&end);
    CloseWindowOnTermination(Form1);
    if (commandLine.DurationSeconds > 0) {
        QTimer::singleShot(static_cast<int>(commandLine.DurationSeconds * 1000), Form1,
                           [] { Form1->close(); });
    }
    QCoreApplication::exec();
    return ExitOk;
}

} // namespace

int RunHeadless(const TCommandLine& commandLine) {
    // A reader that goes away must not kill the process before the log is closed.
    std::signal(SIGPIPE, SIG_IGN);
    TErrorWatch errors(!commandLine.LogFile.empty());
    CreateApplicationWindows();
    const int result = RunWindowsUnseen(commandLine);
    DestroyApplicationWindows();
    return result == ExitOk && errors.LogFailed() ? ExitLog : result;
}
