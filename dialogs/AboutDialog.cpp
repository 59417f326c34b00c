#include "AboutDialog.h"

#include <QLabel>
#include <algorithm>

#include "dialogs/AboutLogo.h"

TAboutForm* AboutForm = nullptr;

namespace {
// A line of text centred on its own box. A text wider than the box widens it equally on both
// sides, so the text stays whole and centred where the box is.
QLabel* MakeCentredLabel(QWidget* parent, const char* name, const QString& text, const QRect& box) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    const QSize needed = label->sizeHint();
    const int width = std::max(box.width(), needed.width());
    const int height = std::max(box.height(), needed.height());
    label->setGeometry(box.left() - (width - box.width()) / 2,
                       box.top() - (height - box.height()) / 2, width, height);
    return label;
}
} // namespace

TAboutForm::TAboutForm(QWidget* mainWindow) : TDialogForm(mainWindow, "About", 326, 215) {
    setObjectName("AboutForm");
    StaticText1 =
        MakeCentredLabel(this, "StaticText1", "WBX4100 Uego Interface", QRect(92, 7, 123, 17));
    StaticText4 = MakeCentredLabel(
        this, "StaticText4", QString::fromUtf8("Ver 1.2     \u00A9 2008-2024 the UEGO 4100 team"),
        QRect(93, 22, 122, 17));
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(91, 45, 121, 105);
    Image1->setPixmap(PaintAboutLogo(121, 105));
    StaticText2 = MakeCentredLabel(this, "StaticText2", "UEGO 4100 Interface project",
                                   QRect(101, 158, 97, 17));
    StaticText3 = MakeCentredLabel(this, "StaticText3",
                                   "Support: see the README file shipped with this program",
                                   QRect(53, 181, 207, 17));
}

void TAboutForm::FormActivate() {
    SetMainWindowEnabled(false);
}

void TAboutForm::FormClose() {
    SetMainWindowEnabled(true);
}
