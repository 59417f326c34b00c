#include "QtTestApp.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Synchronize.h"

namespace {

QApplication* TheApp = nullptr;

std::vector<std::function<void()>>& EndActions() {
    static std::vector<std::function<void()>> actions;
    return actions;
}

class TQtTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override { TestApp(); }
    void TearDown() override {
        auto& actions = EndActions();
        while (!actions.empty()) {
            const auto action = std::move(actions.back());
            actions.pop_back();
            action();
        }
        delete TheApp;
        TheApp = nullptr;
    }
};

[[maybe_unused]] const auto* const Registered =
    ::testing::AddGlobalTestEnvironment(new TQtTestEnvironment);

} // namespace

QApplication& TestApp() {
    if (TheApp == nullptr) {
        static int argc = 1;
        static char name[] = "tests";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TheApp = new QApplication(argc, argv);
        SetMainThread();
    }
    return *TheApp;
}

void AtTestAppEnd(std::function<void()> fn) {
    EndActions().push_back(std::move(fn));
}
