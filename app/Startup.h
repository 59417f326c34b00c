#pragma once
// Creates the five windows in their start-up order (Form1, CalForm, CANform, AboutForm,
// ComPortForm), setting the global references, and destroys them again. Only the main window
// is shown by the caller.
void CreateApplicationWindows();
void DestroyApplicationWindows();

class QWidget;
// Places a window that is about to be shown so that its whole frame, title and menu bar
// included, is centred on its screen's available area; once it is up and the window system
// has told its frame, the placement is checked again.
void CentreOnScreen(QWidget* window);

#include <string>
// Why the window cannot be shown here: "no display (DISPLAY is not set); use --headless to run
// without a window", or empty when there is a display or the Qt platform needs none.
std::string MissingDisplay();
