#pragma once
// The controller's receiver: picks request frames out of the byte stream from the line.
// A frame starts with the sync byte 0xC0, its second byte is its total length (at least 4),
// and its bytes sum to 0xFF. Bytes that do not start a valid frame are dropped, and the
// receiver hunts for the next sync byte, so line noise costs at most the frame it hits.
#include <cstddef>
#include <cstdint>
#include <vector>

using TFrame = std::vector<uint8_t>;

class TRequestParser {
public:
    // Appends received bytes and returns the complete, valid frames they finish, in order.
    std::vector<TFrame> Feed(const uint8_t* data, size_t size);
    // Bytes dropped so far: noise, frames with a wrong checksum or an impossible length.
    size_t DroppedBytes() const { return FDropped; }
    // Bytes held back as the start of a frame that is not complete yet.
    size_t Pending() const { return FBuffer.size(); }

private:
    bool FrameAt(size_t pos, size_t& length) const;
    bool LaterFrameStart(size_t& pos) const;
    void Drop(size_t count);

    std::vector<uint8_t> FBuffer;
    size_t FDropped = 0;
};
