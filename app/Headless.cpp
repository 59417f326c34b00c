#include "Headless.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

#include "app/CommandLineActions.h"
#include "app/HeadlessOutput.h"
#include "app/QuitOnSignal.h"
#include "app/Startup.h"
#include "datalog/LogWriter.h"
#include "format/Formatting.h"
#include "monitor/MainWindow.h"
#include "platform/ErrorDisplay.h"
#include "serial/VaComm.h"

namespace {

// What is left at the end for standard output and standard error to take.
constexpr std::chrono::milliseconds FinishWait(250);

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
    QTimer::singleShot(0, Form1, [] {
        if (Form1 != nullptr) {
            Form1->close();
        }
    });
}

// Standard output and standard error of the run, and what became of them.
class TRunOutput {
public:
    explicit TRunOutput(bool logRequested)
        : FLogRequested(logRequested),
          FOut(STDOUT_FILENO, [this](int error) { TellOnUiThread(error); }), FErr(STDERR_FILENO) {}

    void Reading(const std::string& line) { FOut.Write(line + "\n"); }
    void Error(const std::string& message) { FErr.Write("uego4100: " + message + "\n"); }
    void Status(const std::string& portName, TLinkStatus status) {
        FErr.Write(TimeToStr(LocalNow()) + " " + portName + " " + LinkStatusText(status) + "\n");
    }
    // The record was lost: standard output failed while it was the only record.
    bool RecordLost() const { return FRecordLost; }

    // Lets the last lines go out and says how many could not.
    void Finish() {
        FOut.Finish(FinishWait);
        if (const uint64_t dropped = FOut.Dropped(); dropped > 0) {
            Error(std::to_string(dropped) + " line" + (dropped == 1 ? "" : "s") +
                  " could not go to standard output and " + (dropped == 1 ? "was" : "were") +
                  " dropped");
        }
        FErr.Finish(FinishWait);
    }

private:
    // Runs on the writer's thread: the rest is done on the user-interface thread (and not at
    // all once this object is gone).
    void TellOnUiThread(int error) {
        QMetaObject::invokeMethod(
            &FContext, [this, error] { Failed(error); }, Qt::QueuedConnection);
    }

    void Failed(int error) {
        if (error == EPIPE) {
            EndRunSoon(); // whoever read the lines has gone: end as on a signal
            return;
        }
        Error(std::string("cannot write to standard output: ") + std::strerror(error) + " (" +
              std::to_string(error) + ")" +
              (FLogRequested ? "; the data log goes on" : "; the run ends"));
        if (!FLogRequested) {
            FRecordLost = true;
            EndRunSoon();
        }
    }

    bool FLogRequested;
    bool FRecordLost = false;
    QObject FContext;
    THeadlessOutput FOut;
    THeadlessOutput FErr;
};

// Standard output in the log's format: for MSL and CSV their header lines at the start, then
// one line per reading, its time counted from the start of the run. The text log's lines come
// without the header, as they always have.
class TOutputFormat {
public:
    TOutputFormat(TLogKind kind, TRunOutput& output)
        : FWriter(MakeLogWriter(kind, Form1->LogFuel ? Form1->LogFuel() : TLogFuel())),
          FStart(std::chrono::steady_clock::now()), FOutput(output) {
        for (const std::string& line :
             kind == TLogKind::Text ? std::vector<std::string>() : FWriter->Header(WallNow())) {
            FOutput.Reading(line);
        }
    }
    void Reading(const TDecodedReading& reading) const {
        TLogRecord record;
        record.Wall = std::chrono::floor<std::chrono::milliseconds>(reading.When);
        record.Elapsed = std::chrono::duration<double>(reading.Monotonic - FStart).count();
        record.Lambda = reading.Lambda;
        record.Volts = reading.Volts;
        record.Warmup = reading.Warmup;
        FOutput.Reading(FWriter->Reading(record));
    }

private:
    std::unique_ptr<TLogWriter> FWriter;
    std::chrono::steady_clock::time_point FStart;
    TRunOutput& FOutput;
};

// Errors go to standard error. One that leaves a requested log closed means the log could
// not be written: the run ends with ExitLog.
class TErrorWatch {
public:
    TErrorWatch(bool logRequested, TRunOutput& output)
        : FLogRequested(logRequested), FOutput(output) {
        FPrevious = SetErrorDisplayHook([this](const std::string& message) { Report(message); });
    }
    ~TErrorWatch() { SetErrorDisplayHook(FPrevious); }
    bool LogFailed() const { return FLogFailed; }

private:
    void Report(const std::string& message) {
        FOutput.Error(message);
        if (FLogRequested && !LogOn && !FLogFailed) {
            FLogFailed = true;
            EndRunSoon();
        }
    }

    bool FLogRequested;
    TRunOutput& FOutput;
    bool FLogFailed = false;
    TErrorDisplayHook FPrevious;
};

// Opens the port and starts the log; a failure is printed and gives the exit code.
int Start(const TCommandLine& commandLine, TRunOutput& output) {
    try {
        OpenCommandLinePort(commandLine);
    } catch (const std::exception& e) {
        output.Error(e.what());
        return ExitPort;
    }
    if (!Form1->VaComm1->Active()) {
        return ExitPort;
    }
    try {
        StartCommandLineLog(commandLine);
    } catch (const std::exception& e) {
        output.Error(e.what());
        return ExitLog;
    }
    return ExitOk;
}

// The end of a --duration run, to the millisecond: a coarse timer may end a long run seconds
// early.
void EndAfter(double seconds) {
    auto* timer = new QTimer(Form1);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, Form1, [] { Form1->close(); });
    timer->start(static_cast<int>(seconds * 1000));
}

int RunWindowsUnseen(const TCommandLine& commandLine, TRunOutput& output) {
    const int started = Start(commandLine, output);
    if (started != ExitOk) {
        return started;
    }
    // Changes are told under the name the port was opened by (COM5, or the path), also
    // after a lost device has been found again under another name.
    const std::string portName = Form1->VaComm1->GetDeviceName();
    const TOutputFormat format(commandLine.LogFormat, output);
    QObject::connect(Form1, &TForm1::LiveReadingDecoded, Form1,
                     [&format](const TDecodedReading& reading) { format.Reading(reading); });
    QObject::connect(Form1, &TForm1::LinkStatusChanged, Form1,
                     [&output, portName](TLinkStatus status) { output.Status(portName, status); });
    TEndWithMainWindow end;
    Form1->installEventFilter(&end);
    if (commandLine.DurationSeconds > 0) {
        EndAfter(commandLine.DurationSeconds);
    }
    QCoreApplication::exec();
    return ExitOk;
}

} // namespace

int RunHeadless(const TCommandLine& commandLine) {
    // A reader that goes away must not kill the process before the log is closed.
    std::signal(SIGPIPE, SIG_IGN);
    TRunOutput output(!commandLine.LogFile.empty());
    TErrorWatch errors(!commandLine.LogFile.empty(), output);
    CreateApplicationWindows();
    // A signal that came before the window existed is waiting in the signal pipe.
    CloseWindowOnTermination(Form1);
    const int result = RunWindowsUnseen(commandLine, output);
    DestroyApplicationWindows();
    output.Finish();
    if (result != ExitOk) {
        return result;
    }
    return errors.LogFailed() || output.RecordLost() ? ExitLog : ExitOk;
}
