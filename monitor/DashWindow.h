#pragma once
// The dash view: View > Dash or F11 fills the screen with the reading in the chosen unit as
// large as the screen allows, the dial, the supply volts, the ONLINE/OFFLINE and WARMUP lamps
// and the alarm state, for reading from the driver's seat. Escape or F11 leaves it. It only
// shows what the main window hands it from the readings it decodes; it never reaches the
// serial line. A click on its dial acknowledges an alarm, Space too; a double-click resets
// the peaks.
#include <QWidget>
#include <functional>
#include <string>

#include "DialLook.h"
#include "MixtureAlarm.h"

class QScreen;
class QLabel;
class TAb270Meter;
class TAbLED;
class TBigNumber;

class TDashForm : public QWidget {
    Q_OBJECT
public:
    // A window of its own (no parent, so a setup dialog that disables the main window leaves
    // it usable); it is deleted together with `owner`.
    explicit TDashForm(QObject* owner = nullptr);

    // Full screen on `screen` (the main window's) and in front.
    void ShowDash(QScreen* screen);

    void ApplyLook(const TDialLook& look);
    // The shown value in the look's unit.
    void ShowValue(double shown);
    void ShowVolts(double volts);
    void ShowLamps(bool online, bool offline, bool warmup);
    void ShowAlarm(TMixtureSide side, bool silenced);
    void ShowExtremes(float min, float max);

    std::function<void()> OnAcknowledge;
    std::function<void()> OnResetPeaks;
    // The dash was left (Escape, F11, closed).
    std::function<void()> OnHidden;

    // Components.
    TBigNumber* Number = nullptr;
    QLabel* UnitText = nullptr;
    TAb270Meter* Dial = nullptr;
    QLabel* VoltsText = nullptr;
    QLabel* AlarmText = nullptr;
    TAbLED* OnlineLED = nullptr;
    TAbLED* OfflineLED = nullptr;
    TAbLED* WarmupLED = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void PlaceComponents();

    std::string FNumberFormat = "#0.00#";
};
