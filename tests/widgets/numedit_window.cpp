#include "numedit_window.h"

#include <gtest/gtest.h>

#include <QTest>

TNumEditRecorder::TNumEditRecorder(const TRegionalSettings& rs)
    : FPreviousSettings(RegionalSettings()) {
    FPreviousBeep = TAbNumEdit::SetBeepHook([this] { ++Beeps; });
    SetRegionalSettings(rs);
}

TNumEditRecorder::~TNumEditRecorder() {
    TAbNumEdit::SetBeepHook(FPreviousBeep);
    SetRegionalSettings(FPreviousSettings);
}

TNumEditWindow::TNumEditWindow() {
    Window.resize(300, 120);
    Other = new QLineEdit(&Window);
    Other->setGeometry(10, 80, 100, 21);
}

void TNumEditWindow::Adopt(TAbNumEdit* field) {
    field->setParent(&Window);
    field->move(10, 10);
    field->show();
    Window.show();
    Window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
    field->setFocus(Qt::OtherFocusReason);
}

void TNumEditWindow::Leave() {
    Other->setFocus(Qt::TabFocusReason);
}

void TypeOver(TAbNumEdit* field, const char* text) {
    field->selectAll();
    QTest::keyClicks(field, QString::fromUtf8(text));
}

void PressEnter(TAbNumEdit* field) {
    QTest::keyClick(field, Qt::Key_Return);
}
