#pragma once
// Headless mode: the program without a window, for logging from a computer with no screen.
// The same windows and steps run unseen on Qt's offscreen platform: the port is opened as
// "Open" does, the log started as "Log Start" does. Each reading goes to standard output as
// a line in the log's format, flushed at once; link changes and errors go to standard error.
// The run ends after --duration, on SIGINT, SIGTERM or SIGHUP, or when standard output is
// closed; the port and the log are closed as on a normal end.
#include "app/CommandLine.h"

// Runs until the end and returns the exit code. The application object must exist.
int RunHeadless(const TCommandLine& commandLine);
