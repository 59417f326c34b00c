#include "AboutDialog.h"

#include <QLabel>

#include "dialogs/AboutLogo.h"

TAboutForm* AboutForm = nullptr;

namespace {
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, w, h);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
} // namespace

TAboutForm::TAboutForm() : TDialogForm("About", 326, 215) {
    setObjectName("AboutForm");
    // The two upper lines are wider than their nominal boxes in most fonts: they are centred
    // on the nominal box and allowed the full dialog width.
    StaticText1 = MakeLabel(this, "WBX4100 Uego Interface", 0, 7, 326, 17);
    StaticText4 = MakeLabel(
        this, QString::fromUtf8("Ver 1.2     \u00A9 2008-2024 the UEGO 4100 team"), 0, 22, 326, 17);
    Image1 = new QLabel(this);
    Image1->setGeometry(91, 45, 121, 105);
    Image1->setPixmap(PaintAboutLogo(121, 105));
    StaticText2 = MakeLabel(this, "UEGO 4100 Interface project", 0, 158, 326, 17);
    StaticText3 =
        MakeLabel(this, "Support: see the README file shipped with this program", 0, 181, 326, 17);
    StaticText1->setObjectName("StaticText1");
    StaticText4->setObjectName("StaticText4");
    Image1->setObjectName("Image1");
    StaticText2->setObjectName("StaticText2");
    StaticText3->setObjectName("StaticText3");
}

void TAboutForm::FormActivate() {
    SetMainWindowEnabled(false);
}

void TAboutForm::FormClose() {
    SetMainWindowEnabled(true);
}
