#include "AbNumEditFactory.h"

#include <QFont>

namespace {

struct TFieldSetup {
    const char* Name = "";
    TEditBase Base = ebFloat;
    const char* FormatStr = "#0.#";
    bool Limited = false;
    double MinValue = 0;
    double MaxValue = 0;
    double Value = 0;
    int PixelSize = 0; // 0: the window's font
    QRect Geometry;    // empty: the default size, placed by the window
    bool Hidden = false;
};

// Settings are applied in the order a window definition lists them: limits first, then
// options (which re-read and clamp the current text), then the value.
TAbNumEdit* Build(QWidget* parent, const TFieldSetup& s) {
    auto* field = new TAbNumEdit(parent);
    field->setObjectName(QString::fromLatin1(s.Name));
    if (s.PixelSize > 0) {
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(s.PixelSize);
        field->setFont(font);
    }
    if (!s.Geometry.isEmpty())
        field->setGeometry(s.Geometry);
    field->SetEditBase(s.Base);
    field->SetFormatStr(s.FormatStr);
    field->SetMaxValue(s.MaxValue);
    field->SetMinValue(s.MinValue);
    if (s.Limited)
        field->SetOptions({eoLimitMax, eoLimitMin});
    field->SetValue(s.Value);
    if (s.Hidden)
        field->hide();
    field->Loaded();
    return field;
}

} // namespace

TAbNumEdit* CreateValue1(QWidget* parent) {
    TFieldSetup s;
    s.Name = "Value1";
    s.PixelSize = 14;
    s.Geometry = QRect(18, 157, 48, 25);
    return Build(parent, s);
}

TAbNumEdit* CreateLambda1(QWidget* parent) {
    TFieldSetup s;
    s.Name = "Lambda1";
    s.FormatStr = "#0.00#";
    s.PixelSize = 40;
    s.Geometry = QRect(224, 359, 129, 56);
    return Build(parent, s);
}

TAbNumEdit* CreateRich_mA_display(QWidget* parent) {
    TFieldSetup s;
    s.Name = "Rich_mA_display";
    s.Hidden = true;
    return Build(parent, s);
}

TAbNumEdit* CreateLean_mA_display(QWidget* parent) {
    TFieldSetup s;
    s.Name = "Lean_mA_display";
    s.Hidden = true;
    return Build(parent, s);
}

TAbNumEdit* CreateCalvalue1Edit(QWidget* parent) {
    TFieldSetup s;
    s.Name = "Calvalue1Edit";
    s.Limited = true;
    s.MinValue = 1000;
    s.MaxValue = 20000;
    s.Value = 1000;
    s.Hidden = true;
    return Build(parent, s);
}

TAbNumEdit* CreateCalvalue2Edit(QWidget* parent) {
    TFieldSetup s;
    s.Name = "Calvalue2Edit";
    s.Limited = true;
    s.MinValue = 500;
    s.MaxValue = 1500;
    s.Value = 1000;
    s.Hidden = true;
    return Build(parent, s);
}

TAbNumEdit* CreateResistanceEdit1(QWidget* parent) {
    TFieldSetup s;
    s.Name = "ResistanceEdit1";
    s.Base = ebInt;
    s.Limited = true;
    s.MinValue = 1000;
    s.MaxValue = 20000;
    s.Value = 1000;
    s.PixelSize = 16;
    s.Geometry = QRect(140, 16, 61, 27);
    return Build(parent, s);
}

TAbNumEdit* CreateCANAbNumEdit2(QWidget* parent) {
    TFieldSetup s;
    s.Name = "CANAbNumEdit2";
    s.Limited = true;
    s.MinValue = 0;
    s.MaxValue = 2046;
    s.Value = 0;
    s.Geometry = QRect(72, 28, 65, 21);
    return Build(parent, s);
}

TAbNumEdit* CreateCANspeedNumber(QWidget* parent) {
    TFieldSetup s;
    s.Name = "CANspeedNumber";
    s.Hidden = true;
    return Build(parent, s);
}
