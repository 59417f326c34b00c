#pragma once
// The alarm's sound. The main window only starts and stops a tone that repeats; what makes
// it is behind this interface: Qt Multimedia's sound effect in the program (loaded from its
// own module the first time the user turns the sound on, so a user who never does loads
// none of it), a recorder in tests.
#include <functional>
#include <memory>
#include <string>

class TAlarmSound {
public:
    virtual ~TAlarmSound() = default;
    // Starts the tone repeating; nothing happens when it already repeats.
    virtual void Start() = 0;
    // Stops it; nothing happens when it is silent.
    virtual void Stop() = 0;
    // Empty while the tone can be heard, else one line that says why it cannot.
    virtual std::string Problem() const = 0;
    // Called when Problem() changes (the audio device may answer late or go away).
    std::function<void()> OnProblemChanged;
};

using TAlarmSoundFactory = std::function<std::unique_ptr<TAlarmSound>()>;

// The program's sound: the sound module's, or one that only reports why there is none.
std::unique_ptr<TAlarmSound> CreateAlarmSound();
// Where CreateAlarmSound looks for the module (tests point it at the build's).
void SetAlarmSoundModule(const std::string& path);

// What the module exports, by this name, as a plain function.
using TCreateAlarmSoundFn = TAlarmSound* (*)();
inline constexpr const char* AlarmSoundEntry = "uego4100_create_alarm_sound";
