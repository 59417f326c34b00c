#include "Requests.h"

void SendLiveDataRequest(const TByteSink& sink) {
    TFrameWriter frame(sink, LiveDataFrameLength);
    frame.Put(CmdLiveData);
    frame.Finish();
}

std::vector<uint8_t> LiveDataRequestBytes() {
    std::vector<uint8_t> bytes;
    SendLiveDataRequest([&bytes](uint8_t b) { bytes.push_back(b); });
    return bytes;
}

void SendMemoryRead(const TByteSink& sink, uint8_t address, uint8_t count) {
    TFrameWriter frame(sink, MemoryReadFrameLength);
    frame.Put(CmdMemoryRead);
    frame.Put(address);
    frame.Put(count);
    frame.Finish();
}

void SendCalibrationRead(const TByteSink& sink) {
    SendMemoryRead(sink, CalBlockAddress, CalBlockSize);
}

void SendCalibrationWrite(const TByteSink& sink, uint16_t cal) {
    TFrameWriter frame(sink, MemoryWriteFrameLength(CalWriteSize));
    frame.Put(CmdMemoryWrite);
    frame.Put(CalBlockAddress);
    frame.Put(CalWriteSize);
    frame.PutWord(cal); // rich
    frame.PutWord(cal); // lean
    frame.Finish();
}

void SendCanRead(const TByteSink& sink) {
    SendMemoryRead(sink, CanBlockAddress, CanBlockSize);
}

void SendCanWrite(const TByteSink& sink, uint16_t address, uint8_t speedCode) {
    TFrameWriter frame(sink, MemoryWriteFrameLength(CanBlockSize));
    frame.Put(CmdMemoryWrite);
    frame.Put(CanBlockAddress);
    frame.Put(CanBlockSize);
    frame.PutWord(address);
    frame.Put(speedCode);
    frame.Finish();
}
