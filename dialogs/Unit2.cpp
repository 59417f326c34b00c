#include "Unit2.h"

#include <QLabel>

#include "widgets/AbNumEdit.h"
#include "widgets/AbNumEditFactory.h"

TCalForm* CalForm = nullptr;

TCalForm::TCalForm() : TDialogForm("Sensor Setup", 389, 174) {
    setObjectName("CalForm");
    ResistanceEdit1 = CreateResistanceEdit1(this);
    ResistanceEdit1->setGeometry(140, 16, 61, 27);
    VersionText = new QLabel("***", this);
    VersionText->setObjectName("VersionText");
    VersionText->move(24, 130);
}
