#pragma once
// The requests the utility sends to the WBX4100 controller, the controller memory it uses and
// the positions of the values in the replies it reads.
#include <cstdint>
#include <vector>

#include "FrameWriter.h"

// Command codes (third byte of a request frame).
constexpr uint8_t CmdLiveData = 0x26;    // no parameters; the frame is 4 bytes
constexpr uint8_t CmdMemoryRead = 0x60;  // start address, byte count
constexpr uint8_t CmdMemoryWrite = 0x62; // start address, byte count, the data bytes

// Frame sizes, sync byte and checksum included.
constexpr uint8_t LiveDataFrameLength = 4;
constexpr uint8_t MemoryReadFrameLength = 6;
// A memory write carries its data after the address and count.
constexpr uint8_t MemoryWriteFrameLength(uint8_t count) {
    return static_cast<uint8_t>(6 + count);
}

// Controller memory. 16-bit values are stored high byte first.
constexpr uint8_t MemCalRich = 0;     // 0, 1
constexpr uint8_t MemCalLean = 2;     // 2, 3
constexpr uint8_t MemFirmware = 4;    // firmware version in tenths; read only
constexpr uint8_t MemCanAddress = 10; // 10, 11: 11-bit identifier 0..2046
constexpr uint8_t MemCanSpeed = 12;   // CAN bit-rate code
constexpr uint8_t CalBlockAddress = MemCalRich;
constexpr uint8_t CalBlockSize = 5; // cal rich, cal lean, firmware
constexpr uint8_t CalWriteSize = 4; // cal rich, cal lean
constexpr uint8_t CanBlockAddress = MemCanAddress;
constexpr uint8_t CanBlockSize = 3; // address, bit-rate code
constexpr uint16_t CanAddressMax = 2046;

// Live-data reply: 8 bytes, lambda low byte first.
constexpr int LiveReplyLength = 8;
constexpr int LiveLambdaLow = 3;
constexpr int LiveLambdaHigh = 4;
constexpr int LiveWarmupFlag = 5; // 1 warming up, 0 ready, anything else: no change
constexpr int LiveSupplyRaw = 6;

// Calibration reply: 11 bytes on the line (5 header, 5 data, closing byte); the utility reads
// the first 10 as soon as 10 are buffered.
constexpr int CalReplyLength = 11;
constexpr int CalReplyReadLength = 10;
constexpr int CalReplyRichHigh = 5;
constexpr int CalReplyRichLow = 6;
constexpr int CalReplyLeanHigh = 7;
constexpr int CalReplyLeanLow = 8;
constexpr int CalReplyFirmware = 9;

// CAN reply: 9 bytes on the line; the utility waits for more than 8 and reads 8.
constexpr int CanReplyLength = 9;
constexpr int CanReplyWaitAbove = 8;
constexpr int CanReplyReadLength = 8;
constexpr int CanReplyAddressHigh = 5;
constexpr int CanReplyAddressLow = 6;
constexpr int CanReplySpeed = 7;

// Memory-read and memory-write replies begin with this many header bytes.
constexpr int MemoryReplyHeaderLength = 5;

// C0 04 26 15
void SendLiveDataRequest(const TByteSink& sink);
// The live-data request's bytes, for a sender that writes a request at once.
std::vector<uint8_t> LiveDataRequestBytes();
// C0 06 60 00 05 D4: the calibration block.
void SendCalibrationRead(const TByteSink& sink);
// C0 0A 62 00 04 RH RL LH LL CK: the same cal value as rich and lean.
void SendCalibrationWrite(const TByteSink& sink, uint16_t cal);
// C0 06 60 0A 03 CC: the CAN block.
void SendCanRead(const TByteSink& sink);
// C0 09 62 0A 03 AH AL SC CK
void SendCanWrite(const TByteSink& sink, uint16_t address, uint8_t speedCode);
// Memory read of `count` bytes from `address`.
void SendMemoryRead(const TByteSink& sink, uint8_t address, uint8_t count);
