// The Display window on its own: typed limits are checked, converted from AFR, and a limit
// that cannot be used changes nothing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "dialogs/DisplayDialog.h"
#include "format/Regional.h"
#include "tests/support/QtTestApp.h"

namespace {
void Type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->editingFinished();
}
} // namespace

TEST(DisplayWindow, TypedLimitsAreCheckedAndTakenInTheShownUnit) {
    TestApp();
    SetRegionalSettings(EnglishRegionalSettings());
    TDisplayForm form(nullptr);
    int reports = 0;
    TDisplaySettings reported;
    form.OnSettingsChanged = [&](const TDisplaySettings& s) {
        ++reports;
        reported = s;
    };
    form.SetFuel(14.7, "Gasoline");

    // Rich above lean, a limit off the scale, a word: refused with a message, nothing taken.
    for (const char* rich : {"1.10", "0.60", "rich"}) {
        Type(form.RichEdit, rich);
        EXPECT_FALSE(form.LimitsMessage->isHidden()) << rich;
        EXPECT_EQ(reports, 0) << rich;
        EXPECT_DOUBLE_EQ(form.Settings().Limits.RichLimit, 0.80) << rich;
    }
    Type(form.RichEdit, "0,78"); // a decimal comma is taken too
    EXPECT_TRUE(form.LimitsMessage->isHidden());
    ASSERT_EQ(reports, 1);
    EXPECT_DOUBLE_EQ(reported.Limits.RichLimit, 0.78);

    // In AFR the fields show and take AFR for the fuel.
    form.AfrRadio->setChecked(true);
    EXPECT_EQ(reported.Units, TDisplayUnits::Afr);
    EXPECT_EQ(form.LeanEdit->text(), "15.435");
    Type(form.LeanEdit, "16.17");
    EXPECT_NEAR(reported.Limits.LeanLimit, 1.10, 1e-12);
    Type(form.LeanEdit, "21"); // lambda 1.43: past the scale's end
    EXPECT_NE(form.LimitsMessage->text().toStdString().find("AFR"), std::string::npos);
    EXPECT_NEAR(form.Settings().Limits.LeanLimit, 1.10, 1e-12);
}
