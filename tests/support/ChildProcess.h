#pragma once
// A program run by a test, its standard output and error on pipes. The destructor kills a
// child still running.
#include <string>
#include <sys/types.h>
#include <vector>

// How the child starts, beyond its arguments and environment.
struct TChildOptions {
    enum class TStdout {
        Pipe,     // a pipe the test reads (Stdout, StdoutLine)
        FullPipe, // a pipe already full that nobody reads: the first write blocks
        Closed,   // no standard output at all (>&-)
        File      // StdoutFile opened for writing (/dev/full for a full disk)
    };
    TStdout Stdout = TStdout::Pipe;
    std::string StdoutFile;
    std::vector<int> IgnoredSignals; // ignored in the child from the start, as nohup does
};

class TChildProcess {
public:
    // `environment` adds NAME=VALUE entries to the test's own, replacing those of the same name.
    TChildProcess(const std::string& program, const std::vector<std::string>& args,
                  const std::vector<std::string>& environment = {},
                  const TChildOptions& options = {});
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    bool Started() const { return FPid > 0; }
    pid_t Pid() const { return FPid; }
    // Text up to and including a newline, or what came before end of file or the time-out.
    std::string StdoutLine(int timeoutMs = 5000) { return ReadLine(FOut, timeoutMs); }
    std::string StderrLine(int timeoutMs = 5000) { return ReadLine(FErr, timeoutMs); }
    // Everything until end of file, or until no byte came for `quietMs`.
    std::string Stdout(int quietMs = 5000) { return ReadAll(FOut, quietMs); }
    std::string Stderr(int quietMs = 2000) { return ReadAll(FErr, quietMs); }
    void Signal(int sig);
    // The exit status, or -1 when the child did not exit normally within the time-out.
    int Wait(int timeoutMs);

private:
    static std::string ReadLine(int fd, int timeoutMs);
    static std::string ReadAll(int fd, int quietMs);

    pid_t FPid = -1;
    int FOut = -1;
    int FErr = -1;
};
