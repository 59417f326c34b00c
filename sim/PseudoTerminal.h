#pragma once
// A fresh pseudo-terminal for the simulated controller: the master is the controller's end
// of the cable, the slave (/dev/pts/K) is the serial port the utility opens. The slave is put
// in raw mode at 19200 baud and a descriptor of it stays open here for the terminal's whole
// life, so the master never sits in hang-up between the utility's closes and re-opens.
#include <string>

class TPseudoTerminal {
public:
    // Opens and sets up the pair; throws std::system_error on failure.
    TPseudoTerminal();
    ~TPseudoTerminal();
    TPseudoTerminal(const TPseudoTerminal&) = delete;
    TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

    // Non-blocking master descriptor; -1 once closed.
    int MasterFd() const { return FMaster; }
    const std::string& SlavePath() const { return FSlavePath; }
    bool IsOpen() const { return FMaster >= 0; }
    // Closes the master (every slave opener sees hang-up) and this end's slave descriptor.
    void Close();
    // Closes the master alone: every slave opener sees hang-up, while this end's slave
    // descriptor keeps the terminal's number taken, so the next terminal gets another one.
    void Hangup();

private:
    int FMaster = -1;
    int FSlave = -1;
    std::string FSlavePath;
};
