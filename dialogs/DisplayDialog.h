#pragma once
// The "Display" window (Setup > Display...): the driver's instrument. Mixture limits with
// bands on the dial and the chart, the lean and rich alarms with their hold time, hysteresis
// and sound, peak hold, damping of the shown reading, lambda or AFR, and the night theme.
// Modeless: the main window stays usable and every change shows at once. The window only
// reports the settings it is left with; the main window applies and remembers them.
#include <functional>
#include <string>

#include "dialogs/DialogForm.h"
#include "dialogs/DisplaySettings.h"

class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TDisplayForm : public TDialogForm {
    Q_OBJECT
public:
    explicit TDisplayForm(QWidget* mainWindow);

    // Shows `settings` without reporting them back.
    void SetSettings(const TDisplaySettings& settings);
    const TDisplaySettings& Settings() const { return FSettings; }
    // The fuel chosen in the chart window: AFR = lambda x `stoichiometric`.
    void SetFuel(double stoichiometric, const std::string& name);
    // One line about the sound; empty when it can be heard.
    void SetSoundProblem(const std::string& text);

    // The user changed something: the whole new settings.
    std::function<void(const TDisplaySettings&)> OnSettingsChanged;
    std::function<void()> OnResetPeaks;

    // Handlers.
    void LimitEditDone();
    void ChoiceChanged();
    void UnitsChanged();

    // Components.
    QLineEdit* RichEdit = nullptr;
    QLineEdit* LeanEdit = nullptr;
    QCheckBox* TargetCheck = nullptr;
    QLineEdit* TargetLowEdit = nullptr;
    QLineEdit* TargetHighEdit = nullptr;
    QCheckBox* BandsCheck = nullptr;
    QLabel* LimitsMessage = nullptr;
    QCheckBox* LeanAlarmCheck = nullptr;
    QCheckBox* RichAlarmCheck = nullptr;
    QDoubleSpinBox* HoldSpin = nullptr;
    QDoubleSpinBox* HysteresisSpin = nullptr;
    QCheckBox* SoundCheck = nullptr;
    QLabel* SoundMessage = nullptr;
    QRadioButton* LambdaRadio = nullptr;
    QRadioButton* AfrRadio = nullptr;
    QDoubleSpinBox* DampingSpin = nullptr;
    QCheckBox* PeakHoldCheck = nullptr;
    QPushButton* ResetPeaksButton = nullptr;
    QCheckBox* NightCheck = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    // The night theme and back: the messages keep a readable red.
    void changeEvent(QEvent* event) override;

private:
    void ColourMessages();
    QGroupBox* CreateLimits();
    QGroupBox* CreateAlarm();
    QGroupBox* CreateShown();
    void ConnectHandlers();
    void ShowLimits();
    void UpdateEnabling();
    void Report();
    double Factor() const;
    std::string UnitName() const;

    TDisplaySettings FSettings;
    double FStoichiometric = 14.7;
    std::string FFuelName = "Gasoline";
    bool FShowing = false; // filling the controls: their signals report nothing
};
