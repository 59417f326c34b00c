#pragma once
// Enumerations of the serial port component, the small set type its set-valued settings use,
// and the constant tables that map members to the device's values.
#include <cstdint>
#include <initializer_list>

#include "ports/SerialTypes.h"

enum TVaBaudrate : uint8_t {
    brUser,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TVaParity : uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum TVaDatabits : uint8_t { db4, db5, db6, db7, db8 };
enum TVaStopbits : uint8_t { sb1, sb15, sb2 };
enum TVaControlDtr : uint8_t { dtrDisabled, dtrEnabled, dtrHandshake };
enum TVaControlRts : uint8_t { rtsDisabled, rtsEnabled, rtsHandshake, rtsToggle };
enum TVaCommOption : uint8_t { coErrorChar, coNullStrip, coParityCheck };
enum TVaCommEvent : uint8_t {
    ceBreak,
    ceCts,
    ceDsr,
    ceError,
    ceRing,
    ceRlsd,
    ceRxChar,
    ceTxEmpty,
    ceRxFlag,
    cePErr,
    ceRx80Full,
    ceEvent1,
    ceEvent2
};

// Integer settings limited to 0..2147483647.
using TVaIntW = int32_t;
using TVaPortInt = int32_t;

// A set of enumeration members (up to 32).
template <class E> class TVaSet {
public:
    constexpr TVaSet() = default;
    constexpr TVaSet(std::initializer_list<E> members) {
        for (E m : members) {
            FBits |= Bit(m);
        }
    }
    constexpr bool Contains(E m) const { return (FBits & Bit(m)) != 0; }
    constexpr TVaSet& Include(E m) {
        FBits |= Bit(m);
        return *this;
    }
    constexpr TVaSet& Exclude(E m) {
        FBits &= ~Bit(m);
        return *this;
    }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint32_t Bits() const { return FBits; }
    constexpr bool operator==(const TVaSet&) const = default;

private:
    static constexpr uint32_t Bit(E m) { return 1u << static_cast<unsigned>(m); }
    uint32_t FBits = 0;
};

using TVaCommEvents = TVaSet<TVaCommEvent>;
using TVaCommOptions = TVaSet<TVaCommOption>;

// Line speed of each TVaBaudrate member (brUser: 0, the rate comes from UserBaudrate).
constexpr uint32_t VaBaudRates[16] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                      14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
constexpr uint8_t VaParityCodes[5] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY};
constexpr uint8_t VaDataBits[5] = {4, 5, 6, 7, 8};
constexpr uint8_t VaStopCodes[3] = {ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS};
constexpr uint32_t VaDtrFlags[3] = {0x0000, 0x0010, 0x0020};
constexpr uint32_t VaRtsFlags[4] = {0x0000, 0x1000, 0x2000, 0x3000};
constexpr uint32_t VaOptionFlags[3] = {fErrorChar, fNull, fParity};
constexpr uint32_t VaEventBits[13] = {EV_BREAK,    EV_CTS,    EV_DSR,     EV_ERR,    EV_RING,
                                      EV_RLSD,     EV_RXCHAR, EV_TXEMPTY, EV_RXFLAG, EV_PERR,
                                      EV_RX80FULL, EV_EVENT1, EV_EVENT2};

// The device's event mask for a set of events.
constexpr uint32_t VaEventMask(TVaCommEvents events) {
    uint32_t mask = 0;
    for (unsigned i = 0; i < 13; ++i) {
        if (events.Contains(static_cast<TVaCommEvent>(i))) {
            mask |= VaEventBits[i];
        }
    }
    return mask;
}
