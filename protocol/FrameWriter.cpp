#include "FrameWriter.h"

TFrameWriter::TFrameWriter(const TByteSink& sink, uint8_t frameLength) : FSink(sink) {
    Put(FrameSyncByte);
    Put(frameLength);
}

void TFrameWriter::Put(uint8_t value) {
    FChecksum.Add(value);
    if (FSink) {
        FSink(value);
    }
}

void TFrameWriter::PutWord(uint16_t value) {
    Put(static_cast<uint8_t>(value >> 8));
    Put(static_cast<uint8_t>(value & 0xFF));
}

void TFrameWriter::Finish() {
    const uint8_t checksum = FChecksum.Value();
    if (FSink) {
        FSink(checksum);
    }
}
