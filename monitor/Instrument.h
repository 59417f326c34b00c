#pragma once
// The driver's instrument on the main window: what the Display window sets up, applied to
// every live reading. The alarms and the peaks judge the raw readings; damping and the unit
// change only what is shown, on the dial and the big number (the data log and the chart get
// the raw readings from the main window as before). A standing alarm makes the pointer
// blink, the big number red and the window title "LEAN" (or "RICH"), and sounds a tone until
// acknowledged. The dash view, when open, follows the same readings.
#include <limits>
#include <memory>
#include <string>

#include "AlarmSound.h"
#include "Damping.h"
#include "DialLook.h"
#include "MixtureAlarm.h"
#include "dialogs/DisplaySettings.h"

class QWidget;
class TAb270Meter;
class TAbLED;
class TAbNumEdit;
class TDashForm;

// The main window's parts the instrument drives.
struct TInstrumentParts {
    QWidget* Window = nullptr; // its title
    TAb270Meter* Dial = nullptr;
    TAbNumEdit* Number = nullptr;
    TAbNumEdit* Volts = nullptr; // read, for the dash
    TAbLED* Online = nullptr;    // read, for the dash
    TAbLED* Offline = nullptr;
    TAbLED* Warmup = nullptr;
};

// The main window's title, and with an alarm standing.
inline constexpr const char* MainTitle = "UEGO 4100 Interface";
std::string TitleFor(TMixtureSide alarm);

class TInstrument {
public:
    TInstrument(const TInstrumentParts& parts, TAlarmSoundFactory soundFactory);
    ~TInstrument();
    TInstrument(const TInstrument&) = delete;
    TInstrument& operator=(const TInstrument&) = delete;

    // New settings, or a new fuel ratio: the look, the alarm limits (a standing alarm is
    // cleared), the damping; the sound is made the first time it is turned on.
    void Apply(const TDisplaySettings& settings, double stoichiometric);
    // One live reading: `now` on a monotonic clock in seconds, `lambda` as measured.
    void Reading(double now, double lambda, bool warmup);
    // The link went down, or came back: no readings to judge meanwhile.
    void LinkChanged();
    // A click on the dial or Space: the tone stops.
    void Acknowledge();
    void ResetPeaks();

    // The dash view to keep up to date (nothing: none). It is brought up to date at once.
    void SetDash(TDashForm* dash);
    void UpdateDash();
    // The dash was left: the main window's dial and number show the newest reading again.
    void DashHidden();

    TMixtureSide Alarm() const { return FAlarm.Tripped(); }
    bool Sounding() const { return FSounding; }
    const TMixtureAlarm& AlarmMachine() const { return FAlarm; }
    // Why the tone cannot be heard; empty when it can, or while the sound is off.
    std::string SoundProblem() const;
    TAlarmSound* Sound() const { return FSound.get(); }
    double PeakLow() const { return FPeakLow; }
    double PeakHigh() const { return FPeakHigh; }
    const TDialLook& Look() const { return FLook; }
    // Called when Alarm() changes.
    std::function<void()> OnAlarmChanged;
    // Called when SoundProblem() may have changed.
    std::function<void()> OnSoundProblemChanged;

private:
    void ShowValue(double shown);
    void ShowMainValue();
    void ShowAlarm();
    void ShowPeaks();
    void TrackPeaks(double lambda);
    bool DashShown() const;

    static constexpr double NoPeak = std::numeric_limits<double>::quiet_NaN();

    TInstrumentParts FParts;
    TAlarmSoundFactory FSoundFactory;
    std::unique_ptr<TAlarmSound> FSound;
    TDashForm* FDash = nullptr;
    TDisplaySettings FSettings;
    TDialLook FLook;
    TDamping FDamping;
    TMixtureAlarm FAlarm;
    TMixtureSide FShownAlarm = TMixtureSide::None;
    bool FShownSilenced = false;
    bool FSounding = false;
    double FPeakLow = NoPeak;
    double FPeakHigh = NoPeak;
    bool FHasReading = false;
    bool FMainBehind = false; // the main window's dial and number skipped behind the dash
    double FShown = 1;        // in lambda
};
