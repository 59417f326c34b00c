#pragma once
// Window timer with the familiar Enabled / Interval / OnTimer shape. Writing Enabled with
// its current value neither starts nor restarts it; changing Interval while enabled restarts
// the count. Each tick enters handler code through the error guard.
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
    QTimer FTimer;
    bool FEnabled = true;
    int FInterval = 1000;
};
