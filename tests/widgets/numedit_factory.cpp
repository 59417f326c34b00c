// The configured fields of the windows, driven as their users drive them.
#include <gtest/gtest.h>

#include <QTest>

#include "numedit_window.h"
#include "widgets/AbNumEditFactory.h"

namespace {

class NumEditFactory : public ::testing::TestWithParam<bool> {
protected:
    bool Comma() const { return GetParam(); }
    QString Local(const char* text) const {
        QString s = QString::fromLatin1(text);
        return Comma() ? s.replace(QLatin1Char('.'), QLatin1Char(',')) : s;
    }
    TAbNumEdit* Make(TAbNumEdit* (*create)(QWidget*)) {
        TAbNumEdit* field = create(nullptr);
        field->OnLimit = [this](TAbNumEdit*) { ++Limits; };
        field->OnValueChanged = [this](TAbNumEdit*) { ++ValueChanges; };
        Win.Adopt(field);
        return field;
    }

    TNumEditRecorder Rec{GetParam() ? CommaRegionalSettings() : EnglishRegionalSettings()};
    TNumEditWindow Win;
    int Limits = 0;
    int ValueChanges = 0;
};

} // namespace

TEST_P(NumEditFactory, ResistanceEdit1ClampsTypedValuesToItsRange) {
    TAbNumEdit* f = Make(CreateResistanceEdit1);
    EXPECT_EQ(f->EditBase(), ebInt);
    EXPECT_EQ(f->text(), "1000");
    EXPECT_TRUE(f->LimitLo());
    EXPECT_EQ(f->font().pixelSize(), 16);
    EXPECT_EQ(f->size(), QSize(61, 27));

    TypeOver(f, "30000");
    PressEnter(f);
    EXPECT_EQ(f->Value(), 20000);
    EXPECT_EQ(f->ValueAsInt(), 20000);
    EXPECT_EQ(f->text(), "20000");
    EXPECT_TRUE(f->LimitUp());
    EXPECT_FALSE(f->LimitLo());
    EXPECT_EQ(Limits, 2); // LimitLo dropped, LimitUp raised
    EXPECT_EQ(ValueChanges, 1);
    QTest::keyClick(f, Qt::Key_Up); // at the limit the arrow does not step
    EXPECT_EQ(f->Value(), 20000);
    QTest::keyClick(f, Qt::Key_Down);
    EXPECT_EQ(f->Value(), 19999);
    EXPECT_FALSE(f->LimitUp());
}

TEST_P(NumEditFactory, ResistanceEdit1TakesMultiplierLettersAndRefusesDecimals) {
    TAbNumEdit* f = Make(CreateResistanceEdit1);
    TypeOver(f, "5k");
    PressEnter(f);
    EXPECT_EQ(f->Value(), 5000);
    EXPECT_EQ(f->text(), "5000");
    EXPECT_EQ(Rec.Beeps, 0);

    TypeOver(f, Comma() ? "5," : "5.");
    EXPECT_EQ(f->State(), esError);
    EXPECT_EQ(f->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(Rec.Beeps, 1);
    EXPECT_EQ(f->selectionStart(), 1);
    EXPECT_EQ(f->selectedText(), Local("."));
    PressEnter(f);
    EXPECT_EQ(f->Value(), 5000);
}

TEST_P(NumEditFactory, CANAbNumEdit2ClampsWhenTheUserLeaves) {
    TAbNumEdit* f = Make(CreateCANAbNumEdit2);
    EXPECT_EQ(f->EditBase(), ebFloat);
    EXPECT_EQ(f->text(), "0");
    EXPECT_TRUE(f->LimitLo());
    QTest::keyClick(f, Qt::Key_Down); // stored 0 is the lower limit: no step
    EXPECT_EQ(f->Value(), 0);
    EXPECT_EQ(f->text(), "0");
    QTest::keyClick(f, Qt::Key_Up);
    EXPECT_EQ(f->Value(), 1);

    TypeOver(f, "3000");
    Win.Leave();
    EXPECT_EQ(f->Value(), 2046);
    EXPECT_EQ(f->text(), "2046");
    EXPECT_TRUE(f->LimitUp());
    EXPECT_TRUE(Win.Other->hasFocus());
}

TEST_P(NumEditFactory, Lambda1ShowsTwoOrThreeDecimals) {
    TAbNumEdit* f = Make(CreateLambda1);
    EXPECT_EQ(f->font().pixelSize(), 40);
    f->SetValue(1);
    EXPECT_EQ(f->text(), Local("1.00"));
    f->SetValue(0.987);
    EXPECT_EQ(f->text(), Local("0.987"));
    EXPECT_EQ(ValueChanges, 2);
    f->SetValue(0.987);
    EXPECT_EQ(ValueChanges, 2);
    EXPECT_EQ(Limits, 0);
    EXPECT_EQ(f->State(), esNormal);
}

TEST_P(NumEditFactory, Value1ShowsOneDecimalAtMost) {
    TAbNumEdit* f = Make(CreateValue1);
    f->SetValue(12.46);
    EXPECT_EQ(f->text(), Local("12.5"));
    EXPECT_DOUBLE_EQ(f->Value(), 12.46);
    f->SetValue(12);
    EXPECT_EQ(f->text(), "12");
}

TEST_P(NumEditFactory, HiddenFieldsHoldTheirInitialValues) {
    std::unique_ptr<TAbNumEdit> cal1(CreateCalvalue1Edit(nullptr));
    std::unique_ptr<TAbNumEdit> cal2(CreateCalvalue2Edit(nullptr));
    std::unique_ptr<TAbNumEdit> speed(CreateCANspeedNumber(nullptr));
    EXPECT_EQ(cal1->Value(), 1000);
    EXPECT_TRUE(cal1->LimitLo());
    EXPECT_EQ(cal2->Value(), 1000);
    EXPECT_FALSE(cal2->LimitLo());
    cal2->SetValue(2000);
    EXPECT_EQ(cal2->Value(), 1500);
    speed->SetValue(9);
    EXPECT_EQ(speed->text(), "9");
    EXPECT_TRUE(cal1->isHidden());
    EXPECT_FALSE(cal1->IsLoading());
}

INSTANTIATE_TEST_SUITE_P(Separators, NumEditFactory, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Comma" : "Point"; });
