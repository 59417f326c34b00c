#pragma once
// Base of the analog widgets: a control without a background of its own (its parent shows
// through), with update counting that folds a batch of setting changes into one ParamChange.
#include <QWidget>

class TAbGraphicControl : public QWidget {
public:
    explicit TAbGraphicControl(QWidget* parent = nullptr);

    int UpdateCount() const { return FUpdateCount; }
    void BeginUpdate();
    // Decrements (never below 0); at 0 runs Change.
    void EndUpdate();
    // Requests a repaint of the whole control.
    void Invalidate() { update(); }

    // Reaches ParamChange(this) only while no update is open.
    virtual void Change();
    // A setting that affects the look changed; descendants redraw.
    virtual void ParamChange(QObject* Sender);

private:
    int FUpdateCount = 0;
};
