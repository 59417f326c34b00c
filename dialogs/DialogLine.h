#pragma once
// What the setup windows may do to the serial line and to the main window. The main window
// implements it and hands it to each window when the window is made, so the windows reach
// the line only through these few steps; a test may hand a recorder instead.
#include <QString>
#include <cstdint>

class QWidget;
class TVaComm;

// The reply the main window's receive handler decodes while polling is held.
enum class TExpectedReply { None, Calibration, Can };

class TDialogLine {
public:
    virtual ~TDialogLine() = default;

    // The window the dialogs centre on, stand in front of, and disable while they are active.
    virtual QWidget* MainWindow() = 0;
    // The port component the Com Port dialog opens and closes.
    virtual TVaComm* Port() = 0;

    // Writes one request byte to the controller; the result of the write is ignored.
    virtual void Sendbyte(uint8_t data) = 0;
    // The polling switch: unchecked, the poll tick stops; checked, it runs again.
    virtual void SetPolling(bool on) = 0;
    // Stops the poll tick at once, whatever the switch shows.
    virtual void StopPollTimer() = 0;
    // Empties the receive buffer.
    virtual void PurgeRead() = 0;
    // Writes a value into the main window's hidden diagnostics table.
    virtual void SetDiagnosticsCell(int col, int row, const QString& text) = 0;

    // The controller answers (the ONLINE lamp is lit).
    virtual bool Online() const = 0;
    // The answer to the last live-data request may still be on its way.
    virtual bool LiveReplyExpected() const = 0;
    virtual void ExpectReply(TExpectedReply reply) = 0;
    // The CAN bit-rate code the CAN write sends: last read, or last chosen.
    virtual uint8_t CanSpeed() const = 0;
    virtual void SetCanSpeed(uint8_t code) = 0;

    // The Sensor Setup and CAN Setup menu items, which follow the port.
    virtual void SetLinkMenuEnabled(bool enabled) = 0;
    // The user chooses a port: a lost device is no longer waited for.
    virtual void ForgetLostDevice() = 0;
};
