#include "AlarmSound.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

std::string& ModulePath() {
    static std::string path;
    return path;
}

// Installed beside the program: <prefix>/bin/uego4100 and <prefix>/lib/uego4100/, the build's
// layout too.
std::string DefaultModulePath() {
    return (QCoreApplication::applicationDirPath() + "/../lib/uego4100/uego4100-sound.so")
        .toStdString();
}

// No tone can be made; says why.
class TSilentAlarmSound : public TAlarmSound {
public:
    explicit TSilentAlarmSound(std::string problem) : FProblem(std::move(problem)) {}
    void Start() override {}
    void Stop() override {}
    std::string Problem() const override { return FProblem; }

private:
    std::string FProblem;
};

} // namespace

void SetAlarmSoundModule(const std::string& path) {
    ModulePath() = path;
}

std::unique_ptr<TAlarmSound> CreateAlarmSound() {
    const std::string path = ModulePath().empty() ? DefaultModulePath() : ModulePath();
    // The module stays loaded for the rest of the run: the sound's code lives in it.
    QLibrary module(QString::fromStdString(path));
    const auto create = reinterpret_cast<TCreateAlarmSoundFn>(module.resolve(AlarmSoundEntry));
    if (create == nullptr) {
        return std::make_unique<TSilentAlarmSound>(
            "No sound: the program's sound module cannot be loaded (" +
            module.errorString().toStdString() + ").");
    }
    return std::unique_ptr<TAlarmSound>(create());
}
