#pragma once
// The program's command line: its options, the help and version texts and the exit codes.
// Options take the usual GNU form (--port 3, --port=3); the program takes no other arguments.
#include <QString>
#include <QStringList>
#include <string>

#include "datalog/LogKind.h"

// The program's exit status.
enum TExitCode : int {
    ExitOk = 0,    // normal end, help, version, port list
    ExitUsage = 2, // bad usage: one line on standard error
    ExitPort = 3,  // the port cannot be opened
    ExitLog = 4,   // the log cannot be created or written, or exists without --overwrite
};

struct TCommandLine {
    bool Help = false;
    bool Version = false;
    bool ListPorts = false;
    bool Headless = false;
    bool Overwrite = false;
    int PortNumber = 0;    // 1 to 255; 0 when none or a path was given
    std::string PortPath;  // an absolute device path given instead of a number
    bool PortAuto = false; // --port auto: the first port where a controller answers
    std::string LogFile;   // absolute, with the format's suffix added to a name without one
    // The format of the log and of headless standard output: --format, else the suffix of
    // --log, else the text log.
    TLogKind LogFormat = TLogKind::Text;
    double DurationSeconds = 0; // with --headless; 0 runs until a signal ends it

    bool HasPort() const { return PortNumber > 0 || !PortPath.empty() || PortAuto; }
};

// Parses the arguments that follow the program's name. Bad usage returns false with a
// one-line `error`.
bool ParseCommandLine(const QStringList& arguments, TCommandLine& commandLine, QString& error);

// One line on standard error: "uego4100: " and the message.
void PrintProgramError(const std::string& message);

// The --help text: every option and the exit codes.
QString UsageText();
// "uego4100 " followed by the version.
QString VersionText();

// The data log's file name as the save dialog would complete it: "." and `suffix` are added
// when the name has no dot, and a relative name is taken from the current folder.
std::string LogFileName(const QString& given, const char* suffix = "txt");

// True when the log file named on the command line exists and --overwrite was not given.
bool LogFileRefused(const TCommandLine& commandLine);
// What is said about such a file, at start or when it appears before the log is made.
std::string LogExistsMessage(const std::string& path);
