#pragma once
// SIGTERM, SIGINT and SIGHUP close the main window through the event loop, so the port and
// the data log are closed as on a normal exit.
class QWidget;
void CloseWindowOnTermination(QWidget* window);
