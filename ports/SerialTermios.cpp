#include "ports/SerialTermios.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>
#include <cstring>

// <sys/ioctl.h> cannot be mixed with <asm/termbits.h>; the prototype is all that is needed.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

namespace {

int SizeFlag(uint8_t byteSize, tcflag_t& flag) {
    switch (byteSize) {
    case 5:
        flag = CS5;
        return 0;
    case 6:
        flag = CS6;
        return 0;
    case 7:
        flag = CS7;
        return 0;
    case 8:
        flag = CS8;
        return 0;
    default:
        return EINVAL;
    }
}

int ParityFlags(uint8_t parity, tcflag_t& flags) {
    switch (parity) {
    case NOPARITY:
        flags = 0;
        return 0;
    case ODDPARITY:
        flags = PARENB | PARODD;
        return 0;
    case EVENPARITY:
        flags = PARENB;
        return 0;
    case MARKPARITY:
        flags = PARENB | CMSPAR | PARODD;
        return 0;
    case SPACEPARITY:
        flags = PARENB | CMSPAR;
        return 0;
    default:
        return EINVAL;
    }
}

int StopFlags(uint8_t stopBits, uint8_t byteSize, tcflag_t& flags) {
    switch (stopBits) {
    case ONESTOPBIT:
        flags = 0;
        return 0;
    case TWOSTOPBITS:
        flags = CSTOPB;
        return 0;
    // The kernel sends 1.5 stop bits for CSTOPB only with 5 data bits.
    case ONE5STOPBITS:
        flags = CSTOPB;
        return byteSize == 5 ? 0 : EINVAL;
    default:
        return EINVAL;
    }
}

// Raw input and output, whatever the line's speed, framing and flow control are.
void MakeProcessingRaw(termios2& t) {
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

void MakeRaw(termios2& t) {
    MakeProcessingRaw(t);
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | CIBAUD);
    t.c_cflag |= CLOCAL;
}

} // namespace

int ApplyLineConfiguration(int fd, const TDCB& dcb) {
    tcflag_t size = 0, parity = 0, stop = 0;
    if (dcb.BaudRate == 0) {
        return EINVAL;
    }
    if (int e = SizeFlag(dcb.ByteSize, size); e != 0) {
        return e;
    }
    if (int e = ParityFlags(dcb.Parity, parity); e != 0) {
        return e;
    }
    if (int e = StopFlags(dcb.StopBits, dcb.ByteSize, stop); e != 0) {
        return e;
    }
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        return errno;
    }
    MakeRaw(t);
    t.c_cflag |= size | parity | stop | BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = dcb.BaudRate;
    t.c_ospeed = dcb.BaudRate;
    if ((dcb.Flags & fOutxCtsFlow) != 0 || RtsControlOf(dcb.Flags) == RTS_CONTROL_HANDSHAKE) {
        t.c_cflag |= CRTSCTS;
    }
    if ((dcb.Flags & fOutX) != 0) {
        t.c_iflag |= IXON;
    }
    if ((dcb.Flags & fInX) != 0) {
        t.c_iflag |= IXOFF;
    }
    if ((dcb.Flags & fParity) != 0 && dcb.Parity != NOPARITY) {
        t.c_iflag |= INPCK;
    }
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    t.c_cc[VEOF] = static_cast<cc_t>(dcb.EofChar);
    if (ioctl(fd, TCSETS2, &t) != 0) {
        return errno;
    }
    return 0;
}

int MakeLineRaw(int fd) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        return errno;
    }
    MakeProcessingRaw(t);
    return ioctl(fd, TCSETS2, &t) != 0 ? errno : 0;
}

int ReadLineConfiguration(int fd, TLineReadback& line) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        return errno;
    }
    line.BaudRate = t.c_ospeed;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        line.ByteSize = 5;
        break;
    case CS6:
        line.ByteSize = 6;
        break;
    case CS7:
        line.ByteSize = 7;
        break;
    default:
        line.ByteSize = 8;
        break;
    }
    if ((t.c_cflag & PARENB) == 0) {
        line.Parity = NOPARITY;
    } else if ((t.c_cflag & CMSPAR) != 0) {
        line.Parity = (t.c_cflag & PARODD) != 0 ? MARKPARITY : SPACEPARITY;
    } else {
        line.Parity = (t.c_cflag & PARODD) != 0 ? ODDPARITY : EVENPARITY;
    }
    line.StopBits = (t.c_cflag & CSTOPB) == 0 ? ONESTOPBIT
                    : line.ByteSize == 5      ? ONE5STOPBITS
                                              : TWOSTOPBITS;
    line.Raw = (t.c_lflag & (ECHO | ICANON | ISIG | IEXTEN)) == 0 && (t.c_oflag & OPOST) == 0 &&
               (t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP)) == 0;
    line.CtsRtsFlow = (t.c_cflag & CRTSCTS) != 0;
    line.XonXoffOut = (t.c_iflag & IXON) != 0;
    line.XonXoffIn = (t.c_iflag & IXOFF) != 0;
    line.ParityCheck = (t.c_iflag & INPCK) != 0;
    line.XonChar = static_cast<char>(t.c_cc[VSTART]);
    line.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    line.EofChar = static_cast<char>(t.c_cc[VEOF]);
    return 0;
}

static_assert(sizeof(termios2) <= sizeof(TSavedLine::Data), "the saved settings fit");

int SaveLineSettings(int fd, TSavedLine& saved) {
    termios2 line{};
    if (ioctl(fd, TCGETS2, &line) != 0) {
        return errno;
    }
    std::memcpy(saved.Data.data(), &line, sizeof line);
    return 0;
}

int RestoreLineSettings(int fd, const TSavedLine& saved) {
    termios2 line{};
    std::memcpy(&line, saved.Data.data(), sizeof line);
    return ioctl(fd, TCSETS2, &line) == 0 ? 0 : errno;
}
