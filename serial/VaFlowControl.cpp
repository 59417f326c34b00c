#include "VaFlowControl.h"

void TVaFlowControl::Assign(const TVaFlowControl& source) {
    if (&source == this) {
        return;
    }
    BeginUpdate();
    SetOutCtsFlow(source.FOutCtsFlow);
    SetOutDsrFlow(source.FOutDsrFlow);
    SetControlDtr(source.FControlDtr);
    SetControlRts(source.FControlRts);
    SetXonXoffOut(source.FXonXoffOut);
    SetXonXoffIn(source.FXonXoffIn);
    SetDsrSensitivity(source.FDsrSensitivity);
    SetTxContinueOnXoff(source.FTxContinueOnXoff);
    EndUpdate();
}
