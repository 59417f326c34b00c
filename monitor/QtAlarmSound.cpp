// The alarm's tone through Qt Multimedia's sound effect. Built as a module of its own that
// the program loads only when the user turns the sound on, so a program whose alarm stays
// silent never loads the multimedia libraries.
#include <QAudioDevice>
#include <QDir>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>

#include "AlarmSound.h"
#include "ToneWave.h"

namespace {

const char* const NoDevice = "No audio output device: the alarm shows, but cannot sound.";
const char* const CannotPlay = "The audio device does not play the alarm tone: the alarm shows, "
                               "but cannot sound.";

class TQtAlarmSound : public TAlarmSound {
public:
    TQtAlarmSound() {
        // The tone the program makes, in a file of its own for the sound effect to load.
        const std::vector<uint8_t> wav = AlarmToneWav();
        FFile.setFileTemplate(QDir::tempPath() + "/uego4100-alarm-XXXXXX.wav");
        if (!FFile.open() ||
            FFile.write(reinterpret_cast<const char*>(wav.data()), qint64(wav.size())) !=
                qint64(wav.size()) ||
            !FFile.flush()) {
            FProblem = "The alarm tone cannot be written to a temporary file: the alarm "
                       "shows, but cannot sound.";
            return;
        }
        QObject::connect(&FDevices, &QMediaDevices::audioOutputsChanged, &FEffect,
                         [this] { ChooseDevice(); });
        QObject::connect(&FEffect, &QSoundEffect::statusChanged, &FEffect,
                         [this] { StatusChanged(); });
        FEffect.setLoopCount(QSoundEffect::Infinite);
        FEffect.setVolume(1.0f);
        ChooseDevice();
        FEffect.setSource(QUrl::fromLocalFile(FFile.fileName()));
    }
    ~TQtAlarmSound() override { FEffect.stop(); }

    void Start() override {
        FWanted = true;
        if (FProblem.empty() && !FEffect.isPlaying()) {
            FEffect.play();
        }
    }
    void Stop() override {
        FWanted = false;
        FEffect.stop();
    }
    std::string Problem() const override { return FProblem; }

private:
    void ChooseDevice() {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        SetProblem(device.isNull() ? NoDevice : "");
        if (!device.isNull()) {
            FEffect.setAudioDevice(device);
            if (FWanted && !FEffect.isPlaying()) {
                FEffect.play();
            }
        }
    }
    void StatusChanged() {
        if (FEffect.status() == QSoundEffect::Error) {
            SetProblem(QMediaDevices::defaultAudioOutput().isNull() ? NoDevice : CannotPlay);
        }
    }
    void SetProblem(const std::string& problem) {
        if (problem == FProblem) {
            return;
        }
        FProblem = problem;
        if (OnProblemChanged) {
            OnProblemChanged();
        }
    }

    QTemporaryFile FFile;
    QMediaDevices FDevices;
    QSoundEffect FEffect;
    std::string FProblem;
    bool FWanted = false;
};

} // namespace

extern "C" Q_DECL_EXPORT TAlarmSound* uego4100_create_alarm_sound() {
    return new TQtAlarmSound();
}
