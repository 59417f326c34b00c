#pragma once
// TAbNumEdit: a single-line field that holds a number. The program writes Value and reads
// the stored value; the user may type. Typed text is only checked (lime while edited, red
// with a beep and the bad characters selected when invalid) and is converted and stored on
// Enter, on leaving the field, or when a limit or format setting changes. Up and Down step
// the value by Increment.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QLineEdit>

#include "AbNumEditBase.h"
#include "AbNumEditColor.h"
#include "AbNumEditText.h"

class TAbNumEdit : public QLineEdit {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TAbNumEdit* Sender)>;
    // Key is the Qt key code; a handler may set it to 0 to swallow the key.
    using TKeyEvent =
        std::function<void(TAbNumEdit* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
    // Key is the typed character; a handler may set it to a null character to discard it.
    using TKeyPressEvent = std::function<void(TAbNumEdit* Sender, QChar& Key)>;

    explicit TAbNumEdit(QWidget* parent = nullptr);

    TEditBase EditBase() const { return FEditBase; }
    void SetEditBase(TEditBase value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value);
    float Increment() const { return FIncrement; }
    void SetIncrement(float value) { FIncrement = value; }
    TNumEditOptions Options() const { return FOptions; }
    void SetOptions(TNumEditOptions value);
    const std::string& FormatStr() const { return FFormatStr; }
    void SetFormatStr(const std::string& value);
    int32_t DigitsBool() const { return FDigitsBool; }
    void SetDigitsBool(int32_t value) { FDigitsBool = value; }
    int32_t DigitsHex() const { return FDigitsHex; }
    void SetDigitsHex(int32_t value) { FDigitsHex = value; }

    // The stored value and its copies (not the text being edited).
    double Value() const { return FValue; }
    void SetValue(double value);
    int32_t ValueAsInt() const { return FValueAsInt; }
    void SetValueAsInt(int32_t value);
    float ValueAsSingle() const { return FValueAsSingle; }
    void SetValueAsSingle(float value);
    const std::string& ValueAsBool() const { return FValueAsBool; }
    void SetValueAsBool(const std::string& value);
    const std::string& ValueAsHex() const { return FValueAsHex; }
    void SetValueAsHex(const std::string& value);

    TNumEditState State() const { return FState; }
    bool LimitUp() const { return FLimitUp; }
    void SetLimitUp(bool value);
    bool LimitLo() const { return FLimitLo; }
    void SetLimitLo(bool value);

    uint32_t ColorDefault() const { return FColorDefault; }
    void SetColorDefault(uint32_t value);
    uint32_t ColorError() const { return FColorError; }
    void SetColorError(uint32_t value);
    uint32_t ColorEditing() const { return FColorEditing; }
    void SetColorEditing(uint32_t value);
    // Colour of the digits: a colour value, or nothing for the palette's text colour (the
    // default). System colours follow the palette when it changes.
    std::optional<uint32_t> FontColor() const { return FFontColor; }
    void SetFontColor(std::optional<uint32_t> value);
    // Select all text when the field gains the focus from the keyboard or the program.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    // Follow the parent's background: ColorDefault takes the parent's colour.
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);

    // Validates the text; with WriteEnable stores it. False when the text is not acceptable.
    bool CheckEdit(bool WriteEnable);
    // Applies the limit options and updates LimitLo / LimitUp.
    double CheckValue(double V);
    virtual void SetState(TNumEditState S);
    virtual void Limit();
    virtual void UpClick(QObject* Sender);
    virtual void DownClick(QObject* Sender);
    // End of setting up: from now on OnValueChanged may fire. Also done at the first show.
    void Loaded();
    bool IsLoading() const { return FirstDraw; }

    // Replaces the system beep (tests count beeps). Returns the previous hook; an empty
    // hook restores QApplication::beep().
    static std::function<void()> SetBeepHook(std::function<void()> hook);

    TNotifyEvent OnValueChanged;
    TNotifyEvent OnLimit;
    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

protected:
    // Stores X (clamped to the base's range) in every form and shows it.
    void SetText(long double X);
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TextChanged();
    // Key-down part of a key: stepping and Escape. True when the key was used up.
    bool KeyDown(QKeyEvent* event);
    // Character part of a key: EditorEnabled, Enter. True when the key was used up.
    bool KeyPress(QKeyEvent* event);
    void Step(bool up);
    void RestoreText();
    void ApplyBackground();
    void ApplyForeground();
    void AdoptParentColor();
    TNumEditFormat Format() const;
    QString StoredText() const;
    static void Beep();

    TEditBase FEditBase = ebFloat;
    bool FEditorEnabled = true;
    double FMinValue = 0;
    double FMaxValue = 0;
    float FIncrement = 1.0f;
    QString FOldText = QStringLiteral("0");
    double FValue = 0;
    std::string FValueAsBool;
    std::string FValueAsHex;
    float FValueAsSingle = 0;
    int32_t FValueAsInt = 0;
    TNumEditOptions FOptions;
    std::string FFormatStr = "#0.#";
    TNumEditState FState = esNormal;
    bool FirstDraw = true;
    bool IgnoreChange = true;
    bool FStoring = false; // SetText is showing the stored value
    bool FLimitUp = false;
    bool FLimitLo = false;
    uint32_t FColorDefault = AbNumEditColors::clWindow;
    uint32_t FColorError = AbNumEditColors::clRed;
    uint32_t FColorEditing = AbNumEditColors::clLime;
    int32_t FDigitsBool = 0;
    int32_t FDigitsHex = 0;
    bool FAutoSelect = true;
    bool FParentColor = false;
    bool FShown = false;
    std::optional<uint32_t> FFontColor;
    bool FForegroundSet = false; // the text colour was set on the field's palette
};
