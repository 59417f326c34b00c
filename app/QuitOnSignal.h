#pragma once
// SIGTERM, SIGINT and SIGHUP close the main window through the event loop, so the port and
// the data log are closed as on a normal exit, and then end every event loop still running,
// so that an open message box or file dialog does not keep the process alive.
//
// A signal that was ignored when the program started (nohup) stays ignored. The handlers go in
// first thing, before any port is opened; a signal that comes before the window exists waits
// until the window is there to be closed.
class QWidget;

// Installs the handlers; called once, first thing in main.
void InstallTerminationHandlers();
// The window the signals close (the handlers are installed now if they are not yet).
void CloseWindowOnTermination(QWidget* window);
