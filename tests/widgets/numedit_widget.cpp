// The field driven by Qt key and focus events in a shown window: typing, Enter, Escape,
// leaving the field, stepping, the three states and the notifications.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "numedit_window.h"
#include "platform/ErrorDisplay.h"
#include "platform/Exception.h"
#include "widgets/AbNumEdit.h"

namespace {

QColor Background(const TAbNumEdit* field) {
    return field->palette().color(QPalette::Base);
}

class NumEditWidget : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        Field = new TAbNumEdit;
        Field->SetFormatStr("#0.###");
        Win.Adopt(Field);
        Field->OnValueChanged = [this](TAbNumEdit*) { ++ValueChanges; };
    }
    bool Comma() const { return GetParam(); }
    // The text with the decimal separator of the settings under test.
    QString Local(const char* text) const {
        QString s = QString::fromLatin1(text);
        return Comma() ? s.replace(QLatin1Char('.'), QLatin1Char(',')) : s;
    }
    void TypeLocal(const char* text) {
        Field->selectAll();
        QTest::keyClicks(Field, Local(text));
    }
    // Puts a whole text in at once, as pasting does.
    void PasteLocal(const char* text) {
        Field->selectAll();
        Field->insert(Local(text));
    }

    TNumEditRecorder Rec{GetParam() ? CommaRegionalSettings() : EnglishRegionalSettings()};
    TNumEditWindow Win;
    TAbNumEdit* Field = nullptr;
    int ValueChanges = 0;
};

} // namespace

TEST_P(NumEditWidget, TypingOnlyChecksAndColoursUntilEnter) {
    TypeLocal("12.5");
    EXPECT_EQ(Field->State(), esEditing);
    EXPECT_EQ(Background(Field), QColor(0, 255, 0));
    EXPECT_EQ(Field->Value(), 0);
    PressEnter(Field);
    EXPECT_EQ(Field->Value(), 12.5);
    EXPECT_EQ(Field->text(), Local("12.5"));
    EXPECT_EQ(Field->State(), esNormal);
    EXPECT_EQ(Background(Field), QApplication::palette(Field).color(QPalette::Base));
    EXPECT_EQ(ValueChanges, 1);
    EXPECT_EQ(Rec.Beeps, 0);
}

TEST_P(NumEditWidget, EnterCompletesLoneSignExponentAndMultiplier) {
    Field->SetValue(5);
    TypeLocal("-");
    PressEnter(Field);
    EXPECT_EQ(Field->Value(), 0);
    EXPECT_EQ(Field->text(), "0");
    TypeLocal("e3");
    PressEnter(Field);
    EXPECT_EQ(Field->Value(), 1000);
    Field->SetValue(5);
    TypeLocal("k");
    PressEnter(Field);
    EXPECT_EQ(Field->Value(), 1000);
    EXPECT_EQ(Field->text(), "1000");
}

TEST_P(NumEditWidget, ThreeDecimalSeparatorsSelectSecondToThirdAndStoreNothing) {
    Field->SetValue(7);
    PasteLocal("1.2.3.4");
    EXPECT_EQ(Field->State(), esError);
    EXPECT_EQ(Background(Field), QColor(255, 0, 0));
    EXPECT_EQ(Field->selectionStart(), 3);
    EXPECT_EQ(Field->selectedText(), Local(".3."));
    EXPECT_EQ(Rec.Beeps, 1);
    PressEnter(Field);
    EXPECT_EQ(Field->Value(), 7);
    EXPECT_EQ(Field->State(), esError);
    EXPECT_EQ(Field->selectedText(), Local(".3."));
    EXPECT_EQ(ValueChanges, 1); // only the write of 7
}

TEST_P(NumEditWidget, TypingOverTheSelectedBadCharacterCorrectsIt) {
    TypeLocal("12x");
    EXPECT_EQ(Field->State(), esError);
    EXPECT_EQ(Field->selectedText(), "x");
    QTest::keyClick(Field, Qt::Key_4);
    EXPECT_EQ(Field->text(), "124");
    EXPECT_EQ(Field->State(), esEditing);
    EXPECT_EQ(Rec.Beeps, 1);
}

TEST_P(NumEditWidget, IncompleteNumbersAreErrorsNotSilentValues) {
    Field->SetValue(7);
    TypeLocal("1e");
    EXPECT_EQ(Field->State(), esEditing); // on the way to "1e5"
    QTest::keyClicks(Field, "5");
    EXPECT_EQ(Field->text(), "1e5");
    QTest::keyClick(Field, Qt::Key_Backspace);
    EXPECT_EQ(Rec.Beeps, 0);
    PressEnter(Field);
    EXPECT_EQ(Field->State(), esError);
    EXPECT_EQ(Field->selectedText(), "e");
    EXPECT_EQ(Field->Value(), 7);
    TypeLocal("1e999");
    PressEnter(Field);
    EXPECT_EQ(Field->State(), esError);
    EXPECT_EQ(Field->selectedText(), "1e999");
    EXPECT_EQ(Field->Value(), 7);
    // Correcting the text clears the error.
    TypeLocal("2.5");
    EXPECT_EQ(Field->State(), esEditing);
    PressEnter(Field);
    EXPECT_EQ(Field->Value(), 2.5);
}

TEST_P(NumEditWidget, EscapeRestoresTheStoredTextAndTheDefaultColour) {
    Field->SetValue(3.25);
    TypeLocal("99");
    ASSERT_EQ(Field->State(), esEditing);
    QTest::keyClick(Field, Qt::Key_Escape);
    EXPECT_EQ(Field->text(), Local("3.25"));
    EXPECT_EQ(Field->State(), esNormal);
    EXPECT_EQ(Background(Field), QApplication::palette(Field).color(QPalette::Base));
    EXPECT_EQ(Field->Value(), 3.25);
    TypeLocal("1x");
    ASSERT_EQ(Field->State(), esError);
    QTest::keyClick(Field, Qt::Key_Escape);
    EXPECT_EQ(Field->text(), Local("3.25"));
    EXPECT_EQ(Field->State(), esNormal);
}

TEST_P(NumEditWidget, ClearingAndLeavingStoresZero) {
    Field->SetValue(42);
    Field->selectAll();
    QTest::keyClick(Field, Qt::Key_Backspace);
    EXPECT_EQ(Field->text(), "");
    EXPECT_EQ(Field->State(), esEditing);
    Win.Leave();
    EXPECT_EQ(Field->Value(), 0);
    EXPECT_EQ(Field->text(), "0");
    EXPECT_EQ(Field->State(), esNormal);
    EXPECT_TRUE(Win.Other->hasFocus());
}

TEST_P(NumEditWidget, LeavingWithInvalidTextKeepsTheFocusOnTheBadCharacters) {
    Field->SetValue(1);
    PasteLocal("12x4");
    Win.Leave();
    EXPECT_TRUE(Field->hasFocus());
    EXPECT_EQ(Field->selectedText(), "x");
    EXPECT_EQ(Field->Value(), 1);
    TypeLocal("124");
    Win.Leave();
    EXPECT_TRUE(Win.Other->hasFocus());
    EXPECT_EQ(Field->Value(), 124);
}

TEST_P(NumEditWidget, EnterOnEmptyTextStoresZero) {
    Field->SetValue(4);
    Field->selectAll();
    QTest::keyClick(Field, Qt::Key_Delete);
    PressEnter(Field);
    EXPECT_EQ(Field->text(), "0");
    EXPECT_EQ(Field->Value(), 0);
}

INSTANTIATE_TEST_SUITE_P(Separators, NumEditWidget, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Comma" : "Point"; });

// ---- stored forms, stepping and settings ------------------------------------------------

namespace {

class NumEditField : public ::testing::Test {
protected:
    void SetUp() override { Win.Adopt(Field); }
    TNumEditRecorder Rec;
    TNumEditWindow Win;
    TAbNumEdit* Field = new TAbNumEdit;
};

} // namespace

TEST_F(NumEditField, IntegerCopyRoundsHalvesToEven) {
    Field->SetValue(2.5);
    EXPECT_EQ(Field->ValueAsInt(), 2);
    EXPECT_EQ(Field->text(), "2.5");
    Field->SetValue(3.5);
    EXPECT_EQ(Field->ValueAsInt(), 4);
    EXPECT_FLOAT_EQ(Field->ValueAsSingle(), 3.5f);
}

TEST_F(NumEditField, NegativeNumbersInBinaryAndHexadecimal) {
    Field->SetValue(-1);
    EXPECT_EQ(Field->ValueAsHex(), "FFFFFFFF");
    EXPECT_EQ(Field->ValueAsBool(), std::string(32, '1'));
    Field->SetEditBase(ebHex);
    EXPECT_EQ(Field->text(), "FFFFFFFF");
    EXPECT_EQ(Field->State(), esNormal);
    Field->SetEditBase(ebBin);
    EXPECT_EQ(Field->text(), QString(32, QLatin1Char('1')));
    Field->SetValue(-6);
    EXPECT_EQ(Field->text(), QString(29, QLatin1Char('1')) + "010");
    EXPECT_EQ(Field->ValueAsHex(), "FFFFFFFA");
    // Typed back in, the two's complement text is the same negative number.
    Field->SetEditBase(ebHex);
    TypeOver(Field, "FFFFFFFE");
    PressEnter(Field);
    EXPECT_EQ(Field->Value(), -2);
    TypeOver(Field, "123456789");
    PressEnter(Field);
    EXPECT_EQ(Field->State(), esError);
    EXPECT_EQ(Field->Value(), -2);
}

TEST_F(NumEditField, TextSettersReadPrefixedTextInTheFieldsBase) {
    Field->SetValueAsHex("FF");
    EXPECT_EQ(Field->Value(), 255);
    EXPECT_EQ(Field->text(), "255");
    Field->SetValueAsBool("101");
    EXPECT_EQ(Field->Value(), 5);
    Field->SetValueAsInt(7);
    EXPECT_EQ(Field->Value(), 7);
    EXPECT_EQ(Field->text(), "7");
}

TEST_F(NumEditField, LimitsClampWritesAndRaiseTheFlagsOnce) {
    int limits = 0;
    Field->OnLimit = [&](TAbNumEdit*) { ++limits; };
    Field->SetMaxValue(10);
    Field->SetMinValue(-10);
    Field->SetOptions({eoLimitMax, eoLimitMin});
    Field->SetValue(50);
    EXPECT_EQ(Field->Value(), 10);
    EXPECT_TRUE(Field->LimitUp());
    EXPECT_EQ(limits, 1);
    Field->SetValue(60);
    EXPECT_EQ(limits, 1); // flag unchanged, nothing fired
    Field->SetValue(-10); // exactly on a limit sets the flag
    EXPECT_TRUE(Field->LimitLo());
    EXPECT_FALSE(Field->LimitUp());
    EXPECT_EQ(limits, 3);
    Field->SetValue(-50); // below the lower limit: stored and shown as the limit
    EXPECT_EQ(Field->Value(), -10);
    EXPECT_EQ(Field->text(), "-10");
    // Without limit options the values pass and the flags keep their state.
    Field->SetOptions({});
    Field->SetValue(99);
    EXPECT_EQ(Field->Value(), 99);
    EXPECT_TRUE(Field->LimitLo());
}

TEST_F(NumEditField, NarrowingALimitReReadsTheText) {
    Field->SetValue(80);
    Field->SetOptions({eoLimitMax});
    EXPECT_EQ(Field->Value(), 0); // MaxValue is still 0
    Field->SetMaxValue(100);
    TypeOver(Field, "80");
    PressEnter(Field);
    Field->SetMaxValue(50);
    EXPECT_EQ(Field->Value(), 50);
    EXPECT_EQ(Field->text(), "50");
}

TEST_F(NumEditField, ArrowKeysStepByIncrement) {
    int changes = 0;
    Field->OnChange = [&](TAbNumEdit*) { ++changes; };
    Field->SetIncrement(0.5f);
    QTest::keyClick(Field, Qt::Key_Up);
    QTest::keyClick(Field, Qt::Key_Up);
    EXPECT_EQ(Field->Value(), 1.0);
    QTest::keyClick(Field, Qt::Key_Down);
    EXPECT_EQ(Field->Value(), 0.5);
    EXPECT_EQ(Field->text(), "0.5");
    EXPECT_GE(changes, 3);
}

TEST_F(NumEditField, MultiplyOptionScalesInsteadOfAdding) {
    Field->SetOptions({eoMultiply});
    Field->SetIncrement(10);
    Field->SetValue(2);
    Field->UpClick(Field);
    EXPECT_EQ(Field->Value(), 20);
    Field->DownClick(Field);
    Field->DownClick(Field);
    EXPECT_EQ(Field->Value(), 0.2);
    Field->SetValue(0); // zero cannot be scaled: it steps by adding
    Field->UpClick(Field);
    EXPECT_EQ(Field->Value(), 10);
}

TEST_F(NumEditField, StepsAtALimitOrReadOnlyOnlyBeep) {
    Field->SetMaxValue(1);
    Field->SetOptions({eoLimitMax});
    Field->UpClick(Field);
    EXPECT_TRUE(Field->LimitUp());
    EXPECT_EQ(Rec.Beeps, 0);
    Field->UpClick(Field);
    EXPECT_EQ(Rec.Beeps, 1);
    Field->setReadOnly(true);
    Field->DownClick(Field);
    EXPECT_EQ(Rec.Beeps, 2);
    EXPECT_EQ(Field->Value(), 1);
}

TEST_F(NumEditField, TypingIsCheckedAfterAStepThatLeftTheTextAlone) {
    Field->SetIncrement(0.01f); // "#0.#" hides the step
    QTest::keyClick(Field, Qt::Key_Up);
    EXPECT_EQ(Field->text(), "0");
    QTest::keyClick(Field, Qt::Key_End);
    QTest::keyClick(Field, Qt::Key_X);
    EXPECT_EQ(Field->State(), esError);
}

TEST_F(NumEditField, DisabledEditorDiscardsTypingWithABeep) {
    Field->SetEditorEnabled(false);
    QTest::keyClicks(Field, "12");
    EXPECT_EQ(Field->text(), "0");
    EXPECT_EQ(Rec.Beeps, 2);
    QTest::keyClick(Field, Qt::Key_Up); // the arrows still step
    EXPECT_EQ(Field->Value(), 1);
}

TEST_F(NumEditField, NothingIsReportedBeforeSettingUpEnds) {
    auto* fresh = new TAbNumEdit(&Win.Window);
    int changes = 0;
    fresh->OnValueChanged = [&](TAbNumEdit*) { ++changes; };
    fresh->SetValue(3);
    EXPECT_TRUE(fresh->IsLoading());
    EXPECT_EQ(changes, 0);
    fresh->Loaded();
    fresh->SetValue(3);
    EXPECT_EQ(changes, 0); // equal write
    fresh->SetValue(4);
    EXPECT_EQ(changes, 1);
}

TEST_F(NumEditField, FocusFromTheKeyboardSelectsAll) {
    Field->SetValue(123);
    Win.Leave();
    Field->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Field->selectedText(), "123");
}

TEST_F(NumEditField, FormatChangeReformatsTheStoredValue) {
    Field->SetValue(1.23456);
    EXPECT_EQ(Field->text(), "1.2");
    Field->SetFormatStr("#0.000");
    EXPECT_EQ(Field->text(), "1.235");
    EXPECT_DOUBLE_EQ(Field->Value(), 1.235); // the shown text is what is stored
}

TEST_F(NumEditField, NotANumberWrittenFromCodeIsIgnored) {
    Field->SetValue(5);
    Field->SetValue(std::nan(""));
    EXPECT_EQ(Field->Value(), 5);
    EXPECT_EQ(Field->text(), "5");
}

TEST_F(NumEditField, ParentColorFollowsTheParentsBackground) {
    QPalette p = Win.Window.palette();
    p.setColor(QPalette::Window, QColor(255, 255, 0));
    Win.Window.setPalette(p);
    Field->SetParentColor(true);
    EXPECT_EQ(Field->ColorDefault(), 0x0000FFFFu); // yellow as 0x00BBGGRR
    p.setColor(QPalette::Window, QColor(0, 0, 255));
    Win.Window.setPalette(p);
    EXPECT_EQ(Field->ColorDefault(), 0x00FF0000u);
    EXPECT_EQ(Field->palette().color(QPalette::Base), QColor(0, 0, 255));
}

TEST_F(NumEditField, AnExceptionFromAHandlerIsShownAndTheFieldGoesOn) {
    std::vector<std::string> shown;
    TErrorDisplayHook previous =
        SetErrorDisplayHook([&](const std::string& message) { shown.push_back(message); });
    Field->OnValueChanged = [](TAbNumEdit*) { throw Exception("log file full"); };
    TypeOver(Field, "8");
    PressEnter(Field);
    SetErrorDisplayHook(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "log file full");
    EXPECT_EQ(Field->Value(), 8);
    EXPECT_EQ(Field->State(), esNormal);
}
