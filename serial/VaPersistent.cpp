#include "VaPersistent.h"

void TVaPersistent::EndUpdate() {
    if (FUpdateCount > 0) {
        --FUpdateCount;
    }
    Changed();
}

void TVaPersistent::Changed() {
    if (FUpdateCount == 0 && OnChange) {
        OnChange(this);
    }
}
