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
    int PixelSize = 0;   // 0: the window's font
    QRect Geometry = {}; // empty: the default size, placed by the window
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
    return Build(parent, {.Name = "Value1", .PixelSize = 14, .Geometry = QRect(18, 157, 48, 25)});
}

TAbNumEdit* CreateLambda1(QWidget* parent) {
    return Build(parent, {.Name = "Lambda1",
                          .FormatStr = "#0.00#",
                          .PixelSize = 40,
                          .Geometry = QRect(224, 359, 129, 56)});
}

TAbNumEdit* CreateRich_mA_display(QWidget* parent) {
    return Build(parent, {.Name = "Rich_mA_display", .Hidden = true});
}

TAbNumEdit* CreateLean_mA_display(QWidget* parent) {
    return Build(parent, {.Name = "Lean_mA_display", .Hidden = true});
}

TAbNumEdit* CreateCalvalue1Edit(QWidget* parent) {
    return Build(parent, {.Name = "Calvalue1Edit",
                          .Limited = true,
                          .MinValue = 1000,
                          .MaxValue = 20000,
                          .Value = 1000,
                          .Hidden = true});
}

TAbNumEdit* CreateCalvalue2Edit(QWidget* parent) {
    return Build(parent, {.Name = "Calvalue2Edit",
                          .Limited = true,
                          .MinValue = 500,
                          .MaxValue = 1500,
                          .Value = 1000,
                          .Hidden = true});
}

TAbNumEdit* CreateResistanceEdit1(QWidget* parent) {
    return Build(parent, {.Name = "ResistanceEdit1",
                          .Base = ebInt,
                          .Limited = true,
                          .MinValue = 1000,
                          .MaxValue = 20000,
                          .Value = 1000,
                          .PixelSize = 16,
                          .Geometry = QRect(140, 16, 61, 27)});
}

TAbNumEdit* CreateCANAbNumEdit2(QWidget* parent) {
    return Build(parent, {.Name = "CANAbNumEdit2",
                          .Limited = true,
                          .MinValue = 0,
                          .MaxValue = 2046,
                          .Value = 0,
                          .Geometry = QRect(72, 28, 65, 21)});
}

TAbNumEdit* CreateCANspeedNumber(QWidget* parent) {
    return Build(parent, {.Name = "CANspeedNumber", .Hidden = true});
}
