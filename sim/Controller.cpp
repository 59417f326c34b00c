#include "Controller.h"

#include "protocol/Requests.h"

namespace {

// Builds a reply frame: sync, length, command, body, checksum.
class TReplyBuilder {
public:
    TReplyBuilder(uint8_t command, size_t bodyLength) {
        FBytes.reserve(bodyLength + 4);
        Put(FrameSyncByte);
        Put(static_cast<uint8_t>(bodyLength + 4));
        Put(static_cast<uint8_t>(command | ReplyCommandFlag));
    }
    void Put(uint8_t value) {
        FBytes.push_back(value);
        FSum.Add(value);
    }
    std::vector<uint8_t> Finish() {
        FBytes.push_back(FSum.Value());
        return std::move(FBytes);
    }

private:
    std::vector<uint8_t> FBytes;
    TFrameChecksum FSum;
};

constexpr size_t MaxMemoryCount = 255 - 6; // so the reply's length byte still fits

} // namespace

std::vector<uint8_t> TWbxController::Answer(const TFrame& frame, double seconds) {
    if (frame.size() < 4) {
        return {};
    }
    const uint8_t command = frame[2];
    if (command == CmdLiveData && frame.size() == LiveDataFrameLength) {
        return AnswerLiveData(seconds);
    }
    if (command == CmdMemoryRead && frame.size() == MemoryReadFrameLength &&
        frame[4] <= MaxMemoryCount) {
        return AnswerMemoryRead(frame[3], frame[4]);
    }
    if (command == CmdMemoryWrite && frame.size() >= 6 &&
        frame.size() == MemoryWriteFrameLength(frame[4])) {
        return AnswerMemoryWrite(frame);
    }
    return {};
}

std::vector<uint8_t> TWbxController::AnswerLiveData(double seconds) {
    TLiveReading reading = LiveReadingAt(FLive, seconds);
    if (FLive.Numbered) {
        FLiveNumber = FLiveNumber == 0xFFFF ? 1 : FLiveNumber + 1;
        reading.LambdaRaw = FLiveNumber;
    }
    TReplyBuilder reply(CmdLiveData, 4);
    reply.Put(static_cast<uint8_t>(reading.LambdaRaw & 0xFF));
    reply.Put(static_cast<uint8_t>(reading.LambdaRaw >> 8));
    reply.Put(reading.WarmupFlag);
    reply.Put(reading.SupplyRaw);
    return reply.Finish();
}

std::vector<uint8_t> TWbxController::AnswerMemoryRead(uint8_t address, uint8_t count) const {
    TReplyBuilder reply(CmdMemoryRead, 2 + size_t{count});
    reply.Put(address);
    reply.Put(count);
    for (unsigned i = 0; i < count; ++i) {
        reply.Put(FMemory.Byte(static_cast<uint8_t>(address + i)));
    }
    return reply.Finish();
}

std::vector<uint8_t> TWbxController::AnswerMemoryWrite(const TFrame& frame) {
    const uint8_t address = frame[3];
    const uint8_t count = frame[4];
    for (unsigned i = 0; i < count; ++i) {
        const auto target = static_cast<uint8_t>(address + i);
        if (target != MemFirmware) { // the firmware version is fixed in the controller
            FMemory.SetByte(target, frame[5 + i]);
        }
    }
    TReplyBuilder reply(CmdMemoryWrite, 2);
    reply.Put(address);
    reply.Put(count);
    return reply.Finish();
}
