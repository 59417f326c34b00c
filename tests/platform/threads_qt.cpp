// Hand-overs carried out by the Qt event loop through the wake-up hook.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/ErrorDisplay.h"
#include "platform/Exception.h"
#include "platform/QtErrorDisplay.h"
#include "platform/QtSynchronize.h"
#include "platform/Synchronize.h"
#include "platform/Thread.h"
#include "platform/Tick.h"
#include "threads_app.h"

namespace {

class QtHandOver : public ::testing::Test {
protected:
    void SetUp() override {
        if (TestApplication() == nullptr)
            GTEST_SKIP() << "no QApplication in this program";
        InstallQtSynchronizeHook();
    }
    void TearDown() override { RemoveQtSynchronizeHook(); }
};

TEST_F(QtHandOver, EventLoopRunsHandOversOnTheUiThread) {
    const auto uiThread = std::this_thread::get_id();
    std::atomic<int> done{0};
    int ranOnUi = 0; // UI thread only
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) {
            Synchronize([&] {
                if (std::this_thread::get_id() == uiThread)
                    ++ranOnUi;
            });
            ++done;
        }
    });
    // Only the event loop runs here; nobody calls CheckSynchronize directly.
    EXPECT_TRUE(RunEventLoopUntil([&] { return done == 50; }));
    worker.join();
    EXPECT_EQ(ranOnUi, 50);
}

TEST_F(QtHandOver, HandOverQueuedBeforeTheHookIsCollectedOnInstall) {
    RemoveQtSynchronizeHook();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        Synchronize([] {});
        done = true;
    });
    Sleep(50); // the worker queues its request; nothing posts a wake-up
    EXPECT_FALSE(done);
    InstallQtSynchronizeHook();
    EXPECT_TRUE(RunEventLoopUntil([&] { return done.load(); }));
    worker.join();
}

TEST_F(QtHandOver, HandOversRunWhileAModalMessageBoxIsOpen) {
    TErrorDisplayHook previous = SetErrorDisplayHook({});
    InstallMessageBoxErrorDisplay();
    std::atomic<bool> workerDone{false};
    bool closedFromHandOver = false;
    std::thread worker;
    // Once the box is up, a worker hands over a routine that closes it: the routine can
    // only run if the box's modal loop carries out hand-overs.
    QTimer::singleShot(30, [&] {
        worker = std::thread([&] {
            Synchronize([&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    closedFromHandOver = true;
                    box->button(QMessageBox::Ok)->click();
                }
            });
            workerDone = true;
        });
    });
    QTimer failSafe;
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    failSafe.start(5000);
    ShowErrorMessage("Read error (5), Input/output error");
    SetErrorDisplayHook(previous);
    EXPECT_TRUE(RunEventLoopUntil([&] { return workerDone.load(); }));
    worker.join();
    EXPECT_TRUE(closedFromHandOver);
}

TEST_F(QtHandOver, HandOverRunsInsideAnEventLoopOpenedByAnotherHandOver) {
    // An error box raised inside one notification keeps the other threads' notifications
    // going.
    std::atomic<bool> innerDone{false};
    std::atomic<bool> outerDone{false};
    bool innerRanWhileOuterOpen = false;
    std::thread inner;
    std::thread outer([&] {
        Synchronize([&] {
            inner = std::thread([&] {
                Synchronize([] {});
                innerDone = true;
            });
            innerRanWhileOuterOpen = RunEventLoopUntil([&] { return innerDone.load(); }, 3000);
        });
        outerDone = true;
    });
    EXPECT_TRUE(RunEventLoopUntil([&] { return outerDone.load(); }));
    outer.join();
    inner.join();
    EXPECT_TRUE(innerRanWhileOuterOpen);
}

class TNotifyingThread : public TThread {
public:
    ~TNotifyingThread() override {
        Terminate();
        WaitFor();
    }
    std::atomic<int> Notified{0};

protected:
    void Execute() override {
        while (!Terminated()) {
            Synchronize([this] { ++Notified; });
            Sleep(1);
        }
    }
};

TEST_F(QtHandOver, ClosingFromAHandlerWhileTheThreadHandsOverDoesNotDeadlock) {
    TNotifyingThread thread;
    thread.Start();
    bool stopped = false;
    // A button handler that stops the thread, as closing the port does, while the thread
    // keeps notifying.
    QTimer::singleShot(50, [&] {
        thread.Terminate();
        thread.WaitFor();
        stopped = true;
    });
    EXPECT_TRUE(RunEventLoopUntil([&] { return stopped; }));
    EXPECT_GT(thread.Notified, 0);
}

} // namespace
