#pragma once
// Creates the five windows in their start-up order (Form1, CalForm, CANform, AboutForm,
// ComPortForm), setting the global references, and destroys them again. Only the main window
// is shown by the caller.
void CreateApplicationWindows();
void DestroyApplicationWindows();
