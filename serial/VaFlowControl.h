#pragma once
// Handshake and modem-line control of the line.
#include "VaPersistent.h"
#include "VaTypes.h"

class TVaFlowControl : public TVaPersistent {
public:
    bool OutCtsFlow() const { return FOutCtsFlow; }
    bool OutDsrFlow() const { return FOutDsrFlow; }
    TVaControlDtr ControlDtr() const { return FControlDtr; }
    TVaControlRts ControlRts() const { return FControlRts; }
    bool XonXoffOut() const { return FXonXoffOut; }
    bool XonXoffIn() const { return FXonXoffIn; }
    bool DsrSensitivity() const { return FDsrSensitivity; }
    bool TxContinueOnXoff() const { return FTxContinueOnXoff; }

    void SetOutCtsFlow(bool value) { Store(FOutCtsFlow, value); }
    void SetOutDsrFlow(bool value) { Store(FOutDsrFlow, value); }
    void SetControlDtr(TVaControlDtr value) { Store(FControlDtr, value); }
    void SetControlRts(TVaControlRts value) { Store(FControlRts, value); }
    void SetXonXoffOut(bool value) { Store(FXonXoffOut, value); }
    void SetXonXoffIn(bool value) { Store(FXonXoffIn, value); }
    void SetDsrSensitivity(bool value) { Store(FDsrSensitivity, value); }
    void SetTxContinueOnXoff(bool value) { Store(FTxContinueOnXoff, value); }

    // Copies every field, with one change notification for the whole copy.
    void Assign(const TVaFlowControl& source);

private:
    template <class T> void Store(T& field, T value) {
        if (field != value) {
            field = value;
            Changed();
        }
    }

    bool FOutCtsFlow = false;
    bool FOutDsrFlow = false;
    TVaControlDtr FControlDtr = dtrDisabled;
    TVaControlRts FControlRts = rtsDisabled;
    bool FXonXoffOut = false;
    bool FXonXoffIn = false;
    bool FDsrSensitivity = false;
    bool FTxContinueOnXoff = false;
};
