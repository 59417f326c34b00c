#pragma once
// Sensor Setup and CAN Setup driven as a user would, against the simulated controller (or a
// pseudo-terminal the test plays itself). The simulator's record of request frames is the
// proof of what went out on the line.
#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <vector>

#include "dialogs/CanSetupDialog.h"
#include "monitor/MainWindow.h"
#include "platform/QtTimer.h"
#include "protocol/Requests.h"
#include "serial/VaComm.h"
#include "tests/monitor/UiHarness.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"

using TFrame = std::vector<uint8_t>;
using namespace std::chrono_literals;

class SetupDialogs : public UiHarness {
protected:
    void SetUp() override {
        UiHarness::SetUp();
        FPreviousNote = TCANform::SetNoteDisplay(
            [this](QWidget*, const QString& text) { Notes.push_back(text); });
        FPreviousBeep = TAbNumEdit::SetBeepHook([this] { ++Beeps; });
    }
    void TearDown() override {
        TCANform::SetNoteDisplay(FPreviousNote);
        TAbNumEdit::SetBeepHook(FPreviousBeep);
        UiHarness::TearDown();
    }

    // Simulator up, port open, link ONLINE, and no live reply outstanding, so a dialog
    // exchange starts on a quiet line.
    void StartOnline(const TSimConfig& config = TSimConfig()) {
        StartSimulator(1, config);
        PressOpen(1);
        ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked(); }, 1000));
        ASSERT_TRUE(WaitUntil([] { return !Lambda_request; }, 500));
    }

    // Shows a dialog through its menu item and waits until it has taken over the main window.
    void Show(QAction* item, QWidget* dialog) {
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        ASSERT_TRUE(
            WaitUntil([dialog] { return dialog->isVisible() && !Form1->isEnabled(); }, 1000));
    }

    // Request frames the simulator received from record index `from` on.
    std::vector<TFrame> FramesSince(size_t from) const {
        std::vector<TFrame> frames;
        const auto record = Sim->Requests();
        for (size_t i = from; i < record.size(); ++i) {
            frames.push_back(record[i].Bytes);
        }
        return frames;
    }
    size_t CountCommand(size_t from, uint8_t command) const {
        size_t n = 0;
        for (const TFrame& f : FramesSince(from)) {
            n += f.size() > 2 && f[2] == command;
        }
        return n;
    }
    // Waits for the next request frame after `from` and returns it (empty on time-out). The
    // event loop keeps running meanwhile: the port's write path reports to the UI thread.
    TFrame NextFrame(size_t from) {
        if (!WaitUntil([this, from] { return Sim->RequestCount() > from; }, 1000)) {
            return {};
        }
        return Sim->Requests()[from].Bytes;
    }

    std::vector<QString> Notes;
    int Beeps = 0;

private:
    TCANform::TNoteDisplay FPreviousNote;
    std::function<void()> FPreviousBeep;
};
