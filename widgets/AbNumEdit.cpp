#include "AbNumEdit.h"

#include <cmath>

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShowEvent>

#include "AbNumEditParse.h"
#include "format/Formatting.h"
#include "platform/ErrorDisplay.h"
#include "platform/ScopedFlag.h"

namespace {

std::function<void()>& BeepHook() {
    static std::function<void()> hook;
    return hook;
}

// Keys that would change the text if the edit control saw them.
bool IsEditingKey(const QKeyEvent* event) {
    const QString typed = event->text();
    if (!typed.isEmpty() && (typed[0].isPrint() || typed[0] == QChar(u'\b')))
        return true;
    return event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
           event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut);
}

bool IsEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

TAbNumEdit::TAbNumEdit(QWidget* parent) : QLineEdit(parent) {
    resize(65, 21);
    connect(this, &QLineEdit::textChanged, this,
            [this] { GuardedCall([this] { TextChanged(); }); });
    setText(QStringLiteral("0")); // the first text change after creation is not checked
    ApplyBackground();
}

std::function<void()> TAbNumEdit::SetBeepHook(std::function<void()> hook) {
    std::function<void()> previous = std::move(BeepHook());
    BeepHook() = std::move(hook);
    return previous;
}

void TAbNumEdit::Beep() {
    if (BeepHook())
        BeepHook()();
    else
        QApplication::beep();
}

TNumEditFormat TAbNumEdit::Format() const {
    return TNumEditFormat{FEditBase, FFormatStr, FDigitsHex, FDigitsBool};
}

QString TAbNumEdit::StoredText() const {
    return QString::fromStdString(MakeNumEditForms(FValue, Format()).Text);
}

void TAbNumEdit::Loaded() {
    FOldText = text();
    FirstDraw = false;
}

// ---- properties ------------------------------------------------------------------------

void TAbNumEdit::SetEditBase(TEditBase value) {
    if (value == FEditBase)
        return;
    FEditBase = value;
    const QString shown = StoredText();
    FOldText = shown;
    setText(shown);
    SetState(esNormal);
}

void TAbNumEdit::SetMinValue(double value) {
    if (value == FMinValue)
        return;
    FMinValue = value;
    CheckEdit(true);
}

void TAbNumEdit::SetMaxValue(double value) {
    if (value == FMaxValue)
        return;
    FMaxValue = value;
    CheckEdit(true);
}

void TAbNumEdit::SetOptions(TNumEditOptions value) {
    if (value == FOptions)
        return;
    FOptions = value;
    CheckEdit(true);
}

void TAbNumEdit::SetFormatStr(const std::string& value) {
    if (value == FFormatStr)
        return;
    FFormatStr = value;
    if (FEditBase == ebFloat)
        setText(QString::fromStdString(FormatFloat(FFormatStr, FValue)));
    CheckEdit(true);
}

void TAbNumEdit::SetValue(double value) {
    if (std::isnan(value) || value == FValue)
        return; // not a number: there is nothing sensible to show, keep the stored value
    SetText(CheckValue(value));
}

void TAbNumEdit::SetValueAsInt(int32_t value) {
    if (QString::number(value) != text())
        SetText(value);
}

void TAbNumEdit::SetValueAsSingle(float value) {
    if (std::isnan(value))
        return;
    if (QString::fromStdString(FormatFloat(FFormatStr, value)) != text())
        SetText(value);
}

void TAbNumEdit::SetValueAsBool(const std::string& value) {
    const QString digits = QString::fromStdString(value);
    if (digits == text())
        return;
    setText(FEditBase == ebBin ? digits : QStringLiteral("&") + digits);
    CheckEdit(true);
}

void TAbNumEdit::SetValueAsHex(const std::string& value) {
    const QString digits = QString::fromStdString(value);
    if (digits == text())
        return;
    setText(FEditBase == ebHex ? digits : QStringLiteral("$") + digits);
    CheckEdit(true);
}

void TAbNumEdit::SetLimitUp(bool value) {
    if (value == FLimitUp)
        return;
    FLimitUp = value;
    Limit();
}

void TAbNumEdit::SetLimitLo(bool value) {
    if (value == FLimitLo)
        return;
    FLimitLo = value;
    Limit();
}

void TAbNumEdit::Limit() {
    if (OnLimit)
        OnLimit(this);
}

// ---- colours ---------------------------------------------------------------------------

void TAbNumEdit::SetColorDefault(uint32_t value) {
    FColorDefault = value;
    ApplyBackground();
}

void TAbNumEdit::SetColorError(uint32_t value) {
    FColorError = value;
    ApplyBackground();
}

void TAbNumEdit::SetColorEditing(uint32_t value) {
    FColorEditing = value;
    ApplyBackground();
}

void TAbNumEdit::SetParentColor(bool value) {
    FParentColor = value;
    AdoptParentColor();
}

void TAbNumEdit::ApplyBackground() {
    const uint32_t color = FState == esError     ? FColorError
                           : FState == esEditing ? FColorEditing
                                                 : FColorDefault;
    const QColor shown = NumEditQColor(color, QApplication::palette(this));
    if (palette().color(QPalette::Base) == shown)
        return;
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, shown);
    setPalette(p);
}

void TAbNumEdit::SetFontColor(std::optional<uint32_t> value) {
    FFontColor = value;
    ApplyForeground();
}

void TAbNumEdit::ApplyForeground() {
    if (!FFontColor && !FForegroundSet)
        return; // the palette's own text colour, untouched
    const QPalette theme = QApplication::palette(this);
    QPalette p = palette();
    bool changed = false;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor shown =
            FFontColor ? NumEditQColor(*FFontColor, theme) : theme.color(group, QPalette::Text);
        if (p.color(group, QPalette::Text) != shown) {
            p.setColor(group, QPalette::Text, shown);
            changed = true;
        }
    }
    FForegroundSet = true;
    if (changed)
        setPalette(p);
}

void TAbNumEdit::AdoptParentColor() {
    if (!FParentColor || parentWidget() == nullptr)
        return;
    const uint32_t inherited = NumEditColorValue(parentWidget()->palette().color(QPalette::Window));
    if (inherited != FColorDefault)
        SetColorDefault(inherited);
}

void TAbNumEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
        GuardedCall([this] { AdoptParentColor(); });
    if (event->type() == QEvent::PaletteChange) {
        // System colours are resolved when applied: a new theme resolves them again (the
        // colours applied here cause one more change, which finds nothing to do).
        GuardedCall([this] {
            ApplyBackground();
            ApplyForeground();
        });
    }
}

// ---- checking and storing --------------------------------------------------------------

void TAbNumEdit::SetState(TNumEditState S) {
    if (S == FState)
        return;
    FState = S;
    ApplyBackground();
    if (S == esError) {
        if (isVisible())
            repaint(); // show the red before the beep
        Beep();
    }
}

double TAbNumEdit::CheckValue(double V) {
    double result = V;
    if (FOptions.Contains(eoLimitMin)) {
        SetLimitLo(V <= FMinValue);
        if (V <= FMinValue)
            result = FMinValue;
    }
    if (FOptions.Contains(eoLimitMax)) {
        SetLimitUp(V >= FMaxValue);
        if (V >= FMaxValue)
            result = FMaxValue;
    }
    return result;
}

void TAbNumEdit::SetText(long double X) {
    const TNumEditForms forms = MakeNumEditForms(X, Format());
    FValue = forms.Value;
    FValueAsSingle = forms.ValueAsSingle;
    FValueAsInt = forms.ValueAsInt;
    FValueAsHex = forms.ValueAsHex;
    FValueAsBool = forms.ValueAsBool;
    const QString shown = QString::fromStdString(forms.Text);
    if (shown != text()) {
        // The same text again would only repaint the field. The stored value's own text is
        // not checked as typing: that would colour the field as edited until the line below.
        const TScopedFlag storing(FStoring);
        setText(shown);
    }
    SetState(esNormal);
    if (!FirstDraw && OnValueChanged && text() != FOldText)
        OnValueChanged(this);
    FOldText = text();
}

bool TAbNumEdit::CheckEdit(bool WriteEnable) {
    const QString current = text();
    const TNumTextParse parsed = ParseNumEditText(current.toStdU16String(), FEditBase);
    if (parsed.Kind == TNumTextKind::ntEmpty) {
        SetState(esEditing);
        return true;
    }
    // A number in the making ("1e" on the way to "1e5") is only wrong when it is to be
    // stored; bad characters are wrong at once.
    const bool bad = parsed.Kind == TNumTextKind::ntInvalid ||
                     (parsed.Kind == TNumTextKind::ntNotANumber && WriteEnable);
    if (parsed.Kind == TNumTextKind::ntNotANumber && !bad) {
        SetState(esEditing);
        return true;
    }
    if (bad) {
        SetState(esError);
        if (isEnabled() && isVisible())
            setFocus();
        setSelection(parsed.SelStart, parsed.SelLength);
        return false;
    }
    SetState(current != FOldText && !WriteEnable ? esEditing : esNormal);
    if (WriteEnable)
        SetText(CheckValue(parsed.Value));
    return true;
}

void TAbNumEdit::TextChanged() {
    if (IgnoreChange) {
        IgnoreChange = false;
        return;
    }
    // Until a value has been stored the text is stored as it comes; after that typing only
    // checks and colours the field.
    if (!FStoring)
        CheckEdit(FValueAsBool.empty());
    if (OnChange)
        OnChange(this);
}

void TAbNumEdit::RestoreText() {
    setText(StoredText());
    SetState(esNormal);
}

// ---- stepping --------------------------------------------------------------------------

void TAbNumEdit::UpClick(QObject*) {
    Step(true);
}

void TAbNumEdit::DownClick(QObject*) {
    Step(false);
}

void TAbNumEdit::Step(bool up) {
    if (isReadOnly() || (up ? FLimitUp : FLimitLo)) {
        Beep();
        return;
    }
    const bool multiply =
        FOptions.Contains(eoMultiply) && FEditBase == ebFloat && FIncrement != 0 && FValue != 0;
    double next;
    if (multiply)
        next = up ? FValue * FIncrement : FValue / FIncrement;
    else
        next = up ? FValue + FIncrement : FValue - FIncrement;
    // The text change of this store is not checked. The flag is dropped afterwards even
    // when the text stayed the same, so the next typed character is checked as usual.
    IgnoreChange = true;
    struct TClear {
        bool& Flag;
        ~TClear() { Flag = false; }
    } clear{IgnoreChange};
    SetValue(next);
    if (OnChange)
        OnChange(this);
}

// ---- keys and focus --------------------------------------------------------------------

bool TAbNumEdit::KeyDown(QKeyEvent* event) {
    int key = event->key();
    bool used = false;
    if (key == Qt::Key_Up && !FLimitUp) {
        UpClick(this);
        used = true;
    } else if (key == Qt::Key_Down && !FLimitLo) {
        DownClick(this);
        used = true;
    } else {
        if (FState != esNormal && key == Qt::Key_Escape) {
            RestoreText();
            used = true;
        }
        if (OnChange)
            OnChange(this);
    }
    if (OnKeyDown) {
        OnKeyDown(this, key, event->modifiers());
        used = used || key == 0;
    }
    return used;
}

bool TAbNumEdit::KeyPress(QKeyEvent* event) {
    const bool enter = IsEnterKey(event);
    if (!enter && !IsEditingKey(event))
        return false;
    QChar typed = enter ? QChar(u'\r') : (event->text().isEmpty() ? QChar() : event->text()[0]);
    bool discard = false;
    if (!FEditorEnabled) {
        discard = true;
        Beep();
    } else if (enter) {
        discard = true; // Enter stores, it never goes into the text
        if (text().isEmpty())
            setText(QStringLiteral("0"));
        CheckEdit(true);
    }
    if (OnKeyPress && !discard) {
        OnKeyPress(this, typed);
        discard = typed.isNull() && !event->text().isEmpty();
    }
    return discard;
}

void TAbNumEdit::keyPressEvent(QKeyEvent* event) {
    GuardedCall([&] {
        if (KeyDown(event) || KeyPress(event)) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TAbNumEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    GuardedCall([this] {
        if (FAutoSelect && !(QGuiApplication::mouseButtons() & Qt::LeftButton))
            selectAll();
        if (OnEnter)
            OnEnter(this);
    });
}

void TAbNumEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The field's own context menu and a switch to another window do not leave the field:
    // the focus comes back to it with the window.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    GuardedCall([this] {
        if (OnExit)
            OnExit(this);
        if (text().isEmpty())
            setText(QStringLiteral("0"));
        CheckEdit(true);
    });
}

void TAbNumEdit::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    if (FShown || event->spontaneous())
        return;
    FShown = true;
    GuardedCall([this] {
        if (FirstDraw)
            Loaded();
        CheckEdit(true);
    });
}
