#include "RequestParser.h"

#include "protocol/FrameWriter.h"

namespace {
constexpr size_t MinFrameLength = 4; // sync, length, command, checksum
}

std::vector<TFrame> TRequestParser::Feed(const uint8_t* data, size_t size) {
    FBuffer.insert(FBuffer.end(), data, data + size);
    std::vector<TFrame> frames;
    for (;;) {
        size_t skip = 0;
        while (skip < FBuffer.size() && FBuffer[skip] != FrameSyncByte) {
            ++skip;
        }
        Drop(skip);
        if (FBuffer.size() < 2) {
            break;
        }
        const size_t length = FBuffer[1];
        if (length < MinFrameLength) {
            Drop(1);
            continue;
        }
        if (FBuffer.size() >= length) {
            size_t valid = 0;
            if (FrameAt(0, valid)) {
                frames.emplace_back(FBuffer.begin(), FBuffer.begin() + length);
                FBuffer.erase(FBuffer.begin(), FBuffer.begin() + length);
            } else {
                Drop(1);
            }
            continue;
        }
        // Incomplete. A stray sync byte with a large length byte would otherwise hold back
        // every real request behind it: give up on it as soon as a later complete frame shows.
        size_t later = 0;
        if (!LaterFrameStart(later)) {
            break;
        }
        Drop(later);
    }
    return frames;
}

bool TRequestParser::FrameAt(size_t pos, size_t& length) const {
    if (pos + 1 >= FBuffer.size() || FBuffer[pos] != FrameSyncByte) {
        return false;
    }
    length = FBuffer[pos + 1];
    if (length < MinFrameLength || pos + length > FBuffer.size()) {
        return false;
    }
    TFrameChecksum sum;
    for (size_t i = pos; i < pos + length; ++i) {
        sum.Add(FBuffer[i]);
    }
    return sum.Sum() == 0xFF;
}

bool TRequestParser::LaterFrameStart(size_t& pos) const {
    for (size_t p = 1; p < FBuffer.size(); ++p) {
        size_t length = 0;
        if (FrameAt(p, length)) {
            pos = p;
            return true;
        }
    }
    return false;
}

void TRequestParser::Drop(size_t count) {
    FBuffer.erase(FBuffer.begin(), FBuffer.begin() + static_cast<std::ptrdiff_t>(count));
    FDropped += count;
}
