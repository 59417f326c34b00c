#pragma once
// Base of the on/off widgets: the on/off state, a 32-bit status word shared by a group of
// widgets, the interaction mode, blinking through the flash service, and the change
// notifications. Descendants draw through the virtual operations.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "AbBase.h"

enum TMode { mButton, mSwitch, mIndicator, mRadioButton };
enum TFlashFreq { ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz };

using TAbMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                         Qt::KeyboardModifiers Shift, int X, int Y)>;

class TAbBinGControl : public QWidget {
public:
    explicit TAbBinGControl(QWidget* parent = nullptr);
    ~TAbBinGControl() override;

    bool Checked() const { return FChecked; }
    void SetChecked(bool V);
    bool Flashing() const { return FFlashing; }
    void SetFlashing(bool V);
    TFlashFreq Frequency() const { return FFrequency; }
    void SetFrequency(TFlashFreq V);
    int32_t StatusInt() const { return FStatusInt; }
    void SetStatusInt(int32_t V);
    int32_t StatusBit() const { return FStatusBit; }
    void SetStatusBit(int32_t V);
    int32_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t V);
    TMode Mode() const { return FMode; }
    void SeTMode(TMode V);
    void SetMode(TMode V) { SeTMode(V); }
    // Lowest set bit of the status word, 32 when it is 0.
    int32_t FirstCheckedBit() const { return FFirstCheckedBit; }
    bool MouseIsDown() const { return FMouseIsDown; }

    // Caption text; starts as the object name and follows it until set.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& text);

    TAbNotifyEvent OnStatusChanged;
    TAbNotifyEvent OnStatusIntChanged;
    TAbMouseEvent OnMouseDown;
    TAbMouseEvent OnMouseUp;

    // Registers with the flash service at the code of Frequency.
    void StartFlashing();

    // A setting that affects the look changed.
    virtual void ParamChange(QObject* Sender);
    // The on/off state or something drawn from it changed: redraw the indicator part.
    virtual void StatusChanged();
    virtual void GroupIndexChanged();
    virtual void StatusIntChanged();
    // A blink phase arrived; true shows the on look.
    virtual void Flash(bool status);

protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // Press and release handling behind the toolkit entry points.
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

    // The on/off widgets of the owner (the window) in creation order, this one included.
    std::vector<TAbBinGControl*> OwnerComponents() const;

private:
    bool FChecked = false;
    TFlashFreq FFrequency = ff1Hz;
    bool FFlashing = false;
    int32_t FStatusInt = 0;
    int32_t FStatusBit = 0;
    int32_t FGroupIndex = 0;
    TMode FMode = mIndicator;
    bool FMouseIsDown = false;
    int32_t FFirstCheckedBit = 32;
    QString FCaption;
    bool FCaptionSet = false;
    uint64_t FCreationNo = 0;
};
