#include "Startup.h"

#include "dialogs/AboutDialog.h"
#include "dialogs/CanSetupDialog.h"
#include "dialogs/ComPortDialog.h"
#include "dialogs/SensorSetupDialog.h"
#include "monitor/MainWindow.h"

void CreateApplicationWindows() {
    Form1 = new TForm1();
    CalForm = new TCalForm();
    CANform = new TCANform();
    AboutForm = new TAboutForm();
    ComPortForm = new TComPortForm();
}

void DestroyApplicationWindows() {
    // The main window goes first: destroying it closes the port and the log, and with the
    // port closed no receive notification can reach a dialog being destroyed.
    delete Form1;
    Form1 = nullptr;
    delete ComPortForm;
    ComPortForm = nullptr;
    delete AboutForm;
    AboutForm = nullptr;
    delete CANform;
    CANform = nullptr;
    delete CalForm;
    CalForm = nullptr;
}
