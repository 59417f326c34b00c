#pragma once
// Base of the component's settings objects: one change notification per change, or one per
// batch between BeginUpdate and EndUpdate.
#include <functional>

class TVaPersistent {
public:
    using TNotify = std::function<void(TVaPersistent* Sender)>;

    virtual ~TVaPersistent() = default;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    TNotify OnChange;

protected:
    void Changed();

private:
    int FUpdateCount = 0;
};
