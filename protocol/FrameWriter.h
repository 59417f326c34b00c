#pragma once
// Request frames: sync byte, length byte, command, parameters, checksum. Each byte goes to the
// port the moment it is known; the checksum is accumulated on the way out, never computed over
// an assembled buffer.
#include <cstdint>
#include <functional>

// Receives one byte of a request as soon as it is computed (normally the port's write).
using TByteSink = std::function<void(uint8_t)>;

constexpr uint8_t FrameSyncByte = 0xC0;

// Ones' complement of an 8-bit byte sum: the frame's closing checksum. A complete frame,
// checksum included, therefore always sums to 0xFF in 8 bits.
class TFrameChecksum {
public:
    void Add(uint8_t value) { FSum = static_cast<uint8_t>(FSum + value); }
    uint8_t Sum() const { return FSum; }
    uint8_t Value() const { return static_cast<uint8_t>(0xFF - FSum); }

private:
    uint8_t FSum = 0;
};

// Sends the bytes of one frame through a sink, one by one, and closes it with the checksum.
class TFrameWriter {
public:
    // Sends the sync byte and the length byte (the whole frame's size, checksum included).
    TFrameWriter(const TByteSink& sink, uint8_t frameLength);
    // Sends one byte of the frame body.
    void Put(uint8_t value);
    // Sends a 16-bit value high byte first.
    void PutWord(uint16_t value);
    // Sends the checksum of everything sent so far. Call once, last.
    void Finish();

private:
    const TByteSink& FSink;
    TFrameChecksum FChecksum;
};
