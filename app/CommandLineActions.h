#pragma once
// What the command line asks for at start, done through the windows' own steps: the port is
// opened as the Com Port dialog's "Open" does, the log started as "Log Start" does.
#include "app/CommandLine.h"

// Opens the port given with --port, if any. Throws the serial component's error.
void OpenCommandLinePort(const TCommandLine& commandLine);
// Starts the log given with --log, if any. Throws the file error.
void StartCommandLineLog(const TCommandLine& commandLine);
// Window mode: the port, then the log, each failure shown in the usual error display and the
// program going on as after a failure by hand.
void ApplyCommandLine(const TCommandLine& commandLine);
