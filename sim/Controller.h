#pragma once
// The WBX4100 controller's side of the protocol: answers one request frame with the reply
// bytes the controller would send. Not thread-safe; the simulator guards it.
//
// Replies (header bytes and closing byte are this controller's choice; the utility reads only
// the positions it needs):
//   live data     C0 08 27 LL LH WF SV CK          lambda low/high, warm-up flag, supply raw
//   memory read   C0 N 61 AD CT <CT bytes> CK       N = 6 + CT (calibration 11, CAN 9)
//   memory write  C0 06 63 AD CT CK                 acknowledgement after storing
// CK makes each reply sum to 0xFF like a request. Frames with any other command, or with a
// length that does not fit their command, get no answer.
#include <cstdint>
#include <vector>

#include "ControllerMemory.h"
#include "LiveSource.h"
#include "RequestParser.h"

constexpr uint8_t ReplyCommandFlag = 0x01; // a reply's command is the request's with bit 0 set

class TWbxController {
public:
    TControllerMemory& Memory() { return FMemory; }
    const TControllerMemory& Memory() const { return FMemory; }
    TLiveSettings& Live() { return FLive; }
    const TLiveSettings& Live() const { return FLive; }

    // The reply to a valid frame, `seconds` after power-up; empty when there is none.
    std::vector<uint8_t> Answer(const TFrame& frame, double seconds);

private:
    std::vector<uint8_t> AnswerLiveData(double seconds);
    std::vector<uint8_t> AnswerMemoryRead(uint8_t address, uint8_t count) const;
    std::vector<uint8_t> AnswerMemoryWrite(const TFrame& frame);

    TControllerMemory FMemory;
    TLiveSettings FLive;
    uint16_t FLiveNumber = 0; // the last numbered live reply
};
