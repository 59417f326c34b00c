#pragma once
// Window timer with the familiar Enabled / Interval / OnTimer shape. Writing Enabled with
// its current value neither starts nor restarts it; changing Interval while enabled restarts
// the count. Defaults: Enabled true, Interval 1000 ms; Interval 0 (or less) does not run.
// Each tick enters handler code through the error guard; a tick that comes while the
// previous one's handler is still busy (a message box is open) is skipped.
#include <QObject>
#include <QTimer>
#include <functional>

class TTimer : public QObject {
    Q_OBJECT
public:
    explicit TTimer(QObject* parent = nullptr);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int ms);
    std::function<void(TTimer* sender)> OnTimer;

private:
    void UpdateTimer();
    void Tick();
    QTimer FTimer;
    bool FInTick = false;
    bool FEnabled = true;
    int FInterval = 1000;
};
