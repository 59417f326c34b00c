// The error guard and the application's default error display.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <thread>
#include <vector>

#include "platform/ErrorDisplay.h"
#include "platform/Exception.h"
#include "platform/QtErrorDisplay.h"
#include "threads_app.h"

namespace {

class ErrorRecorder : public ::testing::Test {
protected:
    void SetUp() override {
        FPrevious = SetErrorDisplayHook([this](const std::string& m) { Shown.push_back(m); });
    }
    void TearDown() override { SetErrorDisplayHook(FPrevious); }
    std::vector<std::string> Shown;

private:
    TErrorDisplayHook FPrevious;
};

TEST_F(ErrorRecorder, GuardedCallShowsTheTextAndCarriesOn) {
    bool after = false;
    GuardedCall([] { throw Exception("Can't open specified device"); });
    GuardedCall([] { throw 42; });
    GuardedCall([&] { after = true; });
    ASSERT_EQ(Shown.size(), 2u);
    EXPECT_EQ(Shown[0], "Can't open specified device");
    EXPECT_EQ(Shown[1], "Unknown error");
    EXPECT_TRUE(after);
}

TEST(ErrorDisplay, WithoutHookTheTextGoesToStandardError) {
    TErrorDisplayHook previous = SetErrorDisplayHook({});
    testing::internal::CaptureStderr();
    ShowErrorMessage("Error writing dcb (5), Input/output error");
    const std::string err = testing::internal::GetCapturedStderr();
    SetErrorDisplayHook(previous);
    EXPECT_EQ(err, "Error writing dcb (5), Input/output error\n");
}

// Finds the modal message box once it is up, records it and presses OK.
struct BoxSeen {
    bool Found = false;
    QString Title, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
};

void CloseBoxWhenShown(BoxSeen& seen) {
    QTimer::singleShot(20, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            CloseBoxWhenShown(seen);
            return;
        }
        seen.Found = true;
        seen.Title = box->windowTitle();
        seen.Text = box->text();
        seen.Icon = box->icon();
        seen.Buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(MessageBoxDisplay, ShowsAModalBoxWithTitleTextAndOk) {
    QApplication* app = TestApplication();
    if (app == nullptr)
        GTEST_SKIP() << "no QApplication in this program";
    QApplication::setApplicationDisplayName("UEGO 4100 Interface");
    TErrorDisplayHook previous = SetErrorDisplayHook({});
    TMessageBoxHook previousBox = SetMessageBoxHook({});
    InstallMessageBoxErrorDisplay();
    BoxSeen seen;
    CloseBoxWhenShown(seen);
    GuardedCall([] { throw Exception("Can't open specified device"); }); // returns after OK
    // A box with a caption of its own.
    BoxSeen captioned;
    CloseBoxWhenShown(captioned);
    ShowMessageBox("Error Message", "Remove it...");
    SetErrorDisplayHook(previous);
    SetMessageBoxHook(previousBox);
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Title, "UEGO 4100 Interface");
    EXPECT_EQ(seen.Text, "Can't open specified device");
    EXPECT_EQ(seen.Icon, QMessageBox::Critical);
    EXPECT_EQ(seen.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    ASSERT_TRUE(captioned.Found);
    EXPECT_EQ(captioned.Title, "Error Message");
    EXPECT_EQ(captioned.Text, "Remove it...");
}

TEST(MessageBoxDisplay, AnErrorFromAWorkerIsShownOnTheUiThread) {
    QApplication* app = TestApplication();
    if (app == nullptr)
        GTEST_SKIP() << "no QApplication in this program";
    TErrorDisplayHook previous = SetErrorDisplayHook({});
    InstallMessageBoxErrorDisplay();
    BoxSeen seen;
    std::thread worker([] { ShowErrorMessage("Write error"); }); // must not block
    worker.join();
    CloseBoxWhenShown(seen);
    EXPECT_TRUE(RunEventLoopUntil([&] { return seen.Found; }));
    SetErrorDisplayHook(previous);
    EXPECT_EQ(seen.Text, "Write error");
}

} // namespace
