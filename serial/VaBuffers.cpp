#include "VaBuffers.h"

void TVaBuffers::Assign(const TVaBuffers& source) {
    if (&source == this) {
        return;
    }
    BeginUpdate();
    SetReadSize(source.FReadSize);
    SetWriteSize(source.FWriteSize);
    SetReadTimeout(source.FReadTimeout);
    SetWriteTimeout(source.FWriteTimeout);
    SetXonLimit(source.FXonLimit);
    SetXoffLimit(source.FXoffLimit);
    EndUpdate();
}
