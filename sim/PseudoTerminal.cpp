#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        ThrowErrno("tcgetattr on pseudo-terminal");
    }
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        ThrowErrno("tcsetattr on pseudo-terminal");
    }
}

} // namespace

TPseudoTerminal::TPseudoTerminal() {
    FMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (FMaster < 0) {
        ThrowErrno("posix_openpt");
    }
    try {
        if (grantpt(FMaster) != 0 || unlockpt(FMaster) != 0) {
            ThrowErrno("grantpt/unlockpt");
        }
        char name[128] = {};
        if (const int rc = ptsname_r(FMaster, name, sizeof name); rc != 0) {
            errno = rc;
            ThrowErrno("ptsname_r");
        }
        FSlavePath = name;
        FSlave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (FSlave < 0) {
            ThrowErrno("open pseudo-terminal slave");
        }
        MakeRaw(FSlave);
        const int flags = fcntl(FMaster, F_GETFL);
        if (flags < 0 || fcntl(FMaster, F_SETFL, flags | O_NONBLOCK) != 0) {
            ThrowErrno("fcntl on pseudo-terminal master");
        }
    } catch (...) {
        Close();
        throw;
    }
}

TPseudoTerminal::~TPseudoTerminal() {
    Close();
}

void TPseudoTerminal::Hangup() {
    if (FMaster >= 0) {
        close(FMaster);
        FMaster = -1;
    }
}

void TPseudoTerminal::Close() {
    Hangup();
    if (FSlave >= 0) {
        close(FSlave);
        FSlave = -1;
    }
}
