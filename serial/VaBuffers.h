#pragma once
// Queue sizes, the component's own wait limits and the flow-control limits.
#include "VaPersistent.h"
#include "VaTypes.h"

class TVaBuffers : public TVaPersistent {
public:
    TVaIntW ReadSize() const { return FReadSize; }
    TVaIntW WriteSize() const { return FWriteSize; }
    TVaIntW ReadTimeout() const { return FReadTimeout; }
    TVaIntW WriteTimeout() const { return FWriteTimeout; }
    TVaIntW XonLimit() const { return FXonLimit; }
    TVaIntW XoffLimit() const { return FXoffLimit; }

    void SetReadSize(TVaIntW value) { Store(FReadSize, value); }
    void SetWriteSize(TVaIntW value) { Store(FWriteSize, value); }
    // The time-outs bound the component's own waits; nobody needs to hear of a change.
    void SetReadTimeout(TVaIntW value) { FReadTimeout = Clamp(value); }
    void SetWriteTimeout(TVaIntW value) { FWriteTimeout = Clamp(value); }
    void SetXonLimit(TVaIntW value) { Store(FXonLimit, value); }
    void SetXoffLimit(TVaIntW value) { Store(FXoffLimit, value); }

    void Assign(const TVaBuffers& source);

private:
    static TVaIntW Clamp(TVaIntW value) { return value < 0 ? 0 : value; }
    void Store(TVaIntW& field, TVaIntW value) {
        value = Clamp(value);
        if (field != value) {
            field = value;
            Changed();
        }
    }

    TVaIntW FReadSize = 4096;
    TVaIntW FWriteSize = 2048;
    TVaIntW FReadTimeout = 1000;
    TVaIntW FWriteTimeout = 1000;
    TVaIntW FXonLimit = 1024;
    TVaIntW FXoffLimit = 1024;
};
