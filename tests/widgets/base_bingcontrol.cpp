// The on/off widget base: state, status word, groups, modes, mouse and the notification order.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "base_render.h"
#include "widgets/AbBinGControl.h"
#include "widgets/AbFlashT.h"

namespace {

// Records its redraws and notifications into one shared log, in the order they happen.
class Probe : public TAbBinGControl {
public:
    Probe(std::vector<std::string>& log, const std::string& name, QWidget* parent = nullptr)
        : TAbBinGControl(parent), FLog(log), FName(name) {
        resize(40, 20);
        OnStatusChanged = [this](QObject* s) {
            EXPECT_EQ(s, this);
            FLog.push_back(FName + ":status");
            ++StatusCalls;
        };
        OnStatusIntChanged = [this](QObject* s) {
            EXPECT_EQ(s, this);
            FLog.push_back(FName + ":int");
        };
    }
    void StatusChanged() override { FLog.push_back(FName + ":redraw"); }
    int StatusCalls = 0;

private:
    std::vector<std::string>& FLog;
    std::string FName;
};

using Log = std::vector<std::string>;

class BinGControl : public ::testing::Test {
protected:
    void TearDown() override { FinalizeFlashService(); }
};

} // namespace

TEST_F(BinGControl, StartsUncheckedAsAnIndicator) {
    Log log;
    Probe p(log, "a");
    EXPECT_FALSE(p.Checked());
    EXPECT_EQ(p.Mode(), mIndicator);
    EXPECT_EQ(p.Frequency(), ff1Hz);
    EXPECT_EQ(p.StatusInt(), 0);
    EXPECT_EQ(p.FirstCheckedBit(), 32);
    EXPECT_FALSE(p.autoFillBackground());
}

TEST_F(BinGControl, HiddenDisabledSwitchNotifiesOncePerRealChange) {
    Log log;
    Probe p(log, "sw");
    p.SetMode(mSwitch);
    p.setEnabled(false);
    p.hide();
    p.SetChecked(true);
    EXPECT_EQ(p.StatusCalls, 1);
    p.SetChecked(true);
    EXPECT_EQ(p.StatusCalls, 1);
    p.SetChecked(false);
    EXPECT_EQ(p.StatusCalls, 2);
    // Redraw request comes before the notification, nothing on the equal write.
    EXPECT_EQ(log, (Log{"sw:int", "sw:redraw", "sw:status", "sw:int", "sw:redraw", "sw:status"}));
}

TEST_F(BinGControl, CheckingSetsTheStatusBitAndNotifiesTheWordFirst) {
    Log log;
    Probe p(log, "p");
    p.SetMode(mSwitch);
    p.SetStatusBit(3);
    p.SetChecked(true);
    EXPECT_EQ(p.StatusInt(), 8);
    EXPECT_EQ(p.FirstCheckedBit(), 3);
    EXPECT_EQ(log, (Log{"p:int", "p:redraw", "p:status"}));
    // Bit 31 makes a negative word and is still the widget's bit.
    p.SetStatusInt(0);
    p.SetStatusBit(31);
    p.SetChecked(true);
    EXPECT_EQ(p.StatusInt(), INT32_MIN);
    EXPECT_EQ(p.FirstCheckedBit(), 31);
}

TEST_F(BinGControl, StatusWordAndBitDriveChecked) {
    Log log;
    Probe p(log, "p");
    p.SetStatusBit(2);
    p.SetStatusInt(0b0110);
    EXPECT_TRUE(p.Checked());
    EXPECT_EQ(p.FirstCheckedBit(), 1);
    EXPECT_EQ(p.StatusCalls, 1);
    p.SetStatusBit(3);
    EXPECT_FALSE(p.Checked());
    EXPECT_EQ(p.StatusCalls, 2);
    // Out of range bits are ignored.
    p.SetStatusBit(32);
    p.SetStatusBit(-1);
    EXPECT_EQ(p.StatusBit(), 3);
    EXPECT_EQ(p.StatusCalls, 2);
}

TEST_F(BinGControl, ModeWritesResetTheWordEvenWhenUnchanged) {
    Log log;
    Probe p(log, "p");
    p.SetMode(mSwitch);
    p.SetStatusInt(0xFF);
    EXPECT_TRUE(p.Checked());
    p.SetMode(mButton);
    EXPECT_EQ(p.StatusInt(), 0);
    EXPECT_FALSE(p.Checked());
    p.SetMode(mRadioButton);
    EXPECT_EQ(p.StatusInt(), 1);
    EXPECT_TRUE(p.Checked());
    p.SetStatusInt(6);
    p.SetMode(mRadioButton);
    EXPECT_EQ(p.StatusInt(), 1);
    // Unchecking a radio button from code leaves the word alone.
    p.SetChecked(false);
    EXPECT_EQ(p.StatusInt(), 1);
    EXPECT_FALSE(p.Checked());
    Probe q(log, "q");
    q.SetStatusBit(1);
    q.SetMode(mRadioButton);
    EXPECT_FALSE(q.Checked());
}

TEST_F(BinGControl, RadioGroupOfThreeFollowsThePressedOne) {
    Log log;
    QWidget form;
    form.resize(200, 100);
    Probe a(log, "a", &form), b(log, "b", &form), c(log, "c", &form);
    int i = 0;
    for (Probe* p : {&a, &b, &c}) {
        p->move(i * 50, 0);
        p->SetStatusBit(i++);
        p->SetMode(mRadioButton);
        p->SetGroupIndex(1);
    }
    // The group adopted the first member's word.
    EXPECT_EQ(c.StatusInt(), 1);
    EXPECT_TRUE(a.Checked());
    form.show();
    a.StatusCalls = b.StatusCalls = c.StatusCalls = 0;
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 5));
    for (Probe* p : {&a, &b, &c})
        EXPECT_EQ(p->StatusInt(), 4);
    EXPECT_FALSE(a.Checked());
    EXPECT_FALSE(b.Checked());
    EXPECT_TRUE(c.Checked());
    EXPECT_EQ(a.StatusCalls, 1);
    EXPECT_EQ(b.StatusCalls, 0);
    EXPECT_EQ(c.StatusCalls, 1);
    EXPECT_FALSE(GroupUpdate);
    // Another group is left alone; a negative group index is ignored.
    Probe d(log, "d", &form);
    d.SetGroupIndex(2);
    d.SetGroupIndex(-1);
    EXPECT_EQ(d.GroupIndex(), 2);
    EXPECT_EQ(d.StatusInt(), 0);
    d.SetGroupIndex(1);
    EXPECT_EQ(d.StatusInt(), 4);
}

// A group spans the whole window, whatever panel holds each member; a dialog inside the
// window is a window of its own and keeps its members to itself.
TEST_F(BinGControl, GroupSpansEveryPanelOfTheWindow) {
    Log log;
    QWidget form;
    QWidget left(&form), right(&form);
    QWidget dialog(&form, Qt::Dialog);
    Probe a(log, "a", &left), b(log, "b", &right), d(log, "d", &dialog);
    for (Probe* p : {&a, &b, &d}) {
        p->SetMode(mSwitch);
        p->SetGroupIndex(1);
    }
    a.SetChecked(true);
    EXPECT_EQ(b.StatusInt(), 1);
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(d.Checked());
    Probe late(log, "late", &right);
    late.SetGroupIndex(1); // adopts the word of the first member, in the other panel
    EXPECT_TRUE(late.Checked());
}

TEST_F(BinGControl, MouseFollowsTheMode) {
    Log log;
    QWidget form;
    form.resize(100, 50);
    Probe p(log, "p", &form);
    int downs = 0, ups = 0;
    p.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
        ++downs;
        EXPECT_EQ(QPoint(X, Y), QPoint(5, 6));
    };
    p.OnMouseUp = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++ups; };
    form.show();
    // Indicator: nothing changes, the mouse events are still raised.
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_FALSE(p.Checked());
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    // Button: checked while held.
    p.SetMode(mButton);
    QTest::mousePress(&p, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_TRUE(p.Checked());
    EXPECT_TRUE(p.MouseIsDown());
    QTest::mouseRelease(&p, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_FALSE(p.Checked());
    EXPECT_FALSE(p.MouseIsDown());
    EXPECT_EQ(p.StatusCalls, 2);
    // Switch: each press toggles; the right button changes nothing.
    p.SetMode(mSwitch);
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_TRUE(p.Checked());
    QTest::mouseClick(&p, Qt::RightButton, {}, QPoint(5, 6));
    EXPECT_TRUE(p.Checked());
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_FALSE(p.Checked());
    EXPECT_EQ(p.StatusCalls, 4);
    EXPECT_EQ(downs, 5);
}

TEST_F(BinGControl, CaptionFollowsTheNameUntilSet) {
    Log log;
    Probe p(log, "p");
    p.setObjectName("AbLED1");
    EXPECT_EQ(p.Caption(), "AbLED1");
    p.SetCaption("WARMUP");
    p.setObjectName("AbLED2");
    EXPECT_EQ(p.Caption(), "WARMUP");
}

TEST_F(BinGControl, FlashingRegistersOnlyWhileChecked) {
    Log log;
    Probe p(log, "p");
    p.SetFlashing(true);
    EXPECT_EQ(p.StatusCalls, 1);
    EXPECT_TRUE(dynFlashList.empty());
    EXPECT_EQ(AbFlashTimer, nullptr);
    p.SetChecked(true);
    ASSERT_EQ(dynFlashList.size(), 1u);
    EXPECT_EQ(dynFlashList[0]->Control, &p);
    EXPECT_EQ(dynFlashList[0]->IntervalTime, Freq1Hz);
    // A new frequency updates the one registration.
    p.SetFrequency(ff8Hz);
    ASSERT_EQ(dynFlashList.size(), 1u);
    EXPECT_EQ(dynFlashList[0]->IntervalTime, Freq8Hz);
    // Equal write: no change to the registration, no notification.
    const int calls = p.StatusCalls;
    p.SetChecked(true);
    EXPECT_EQ(p.StatusCalls, calls);
    EXPECT_EQ(dynFlashList.size(), 1u);
    p.SetFlashing(false);
    EXPECT_TRUE(dynFlashList.empty());
    EXPECT_EQ(p.StatusCalls, calls + 1);
    p.SetFlashing(true);
    EXPECT_EQ(dynFlashList.size(), 1u);
    p.SetChecked(false);
    EXPECT_TRUE(dynFlashList.empty());
}

TEST_F(BinGControl, DestroyedWidgetLeavesTheFlashList) {
    Log log;
    {
        Probe p(log, "p");
        p.SetFlashing(true);
        p.SetChecked(true);
        EXPECT_EQ(dynFlashList.size(), 1u);
    }
    EXPECT_TRUE(dynFlashList.empty());
}
