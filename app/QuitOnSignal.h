#pragma once
// SIGTERM, SIGINT and SIGHUP close the main window through the event loop, so the port and
// the data log are closed as on a normal exit, and then end every event loop still running,
// so that an open message box or file dialog does not keep the process alive.
class QWidget;
void CloseWindowOnTermination(QWidget* window);
