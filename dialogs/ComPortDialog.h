#pragma once
// Com Port: the user picks the port number and opens the port; a successful opening starts
// polling. Under the lamp the dialog tells which device the number stands for, and after a
// refused opening for lack of permission, how to get access. "Find", beside "Open", looks for
// the controller on the published ports and the USB serial devices and opens the one that
// answers.
#include <string>

#include "dialogs/DialogForm.h"
#include "dialogs/DialogLine.h"

class QLabel;
class QPushButton;
class QSpinBox;
class TAbLED;

class TComPortForm : public TDialogForm {
    Q_OBJECT
public:
    explicit TComPortForm(TDialogLine& line);

    void Button1Click();
    // Opens port `portNum` as choosing it in the field and pressing "Open" does.
    void OpenPortNumber(int portNum);
    // Opens the device node at `path` as "Open" does; the field keeps its number.
    void OpenDevicePath(const std::string& path);
    // The port number in the spin field: text that is not a whole number counts as 1;
    // the result lies in 1 to 255.
    int PortNumber() const;
    // The same, with the typed text taken over as leaving the field does, so the field shows
    // the number used.
    int EnteredPortNumber();
    // Refreshes the device line for the number in the spin field.
    void UpdateDeviceText();
    // "Find": the open port is closed, the ports are probed one at a time, and the first that
    // answers is shown ("COM3 = /dev/ttyUSB1: controller found") and opened as "Open" does.
    // When none answers the dialog says so and the port stays closed. Returns whether one did.
    bool FindButtonClick();
    // The same for --port auto: throws EVaCommError when no controller answered.
    void FindAndOpen();

    QSpinBox* SpinEdit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* FindButton = nullptr;
    TAbLED* AbLED2 = nullptr;
    QLabel* DeviceText = nullptr;

protected:
    void FormShow() override;
    void FormActivate() override;
    void FormClose() override;

private:
    void SetDeviceText(const QString& text);
    // "Open" with the given device name pattern (the component's DeviceName).
    void OpenWith(const std::string& deviceName);
    void OpenPort();
    void ShowAccessHint(const std::string& error);

    TDialogLine& FLine;
};

extern TComPortForm* ComPortForm;
