#include "dial_app.h"

#include <gtest/gtest.h>

#include "platform/Synchronize.h"

namespace {

QApplication* TheApp = nullptr;

class DialEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "tests_widgets_dial";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TheApp = new QApplication(argc, argv);
        SetMainThread();
    }
    void TearDown() override {
        delete TheApp;
        TheApp = nullptr;
    }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new DialEnvironment);

} // namespace

QApplication& DialApp() {
    return *TheApp;
}
