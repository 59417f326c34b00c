#include "protocol/Requests.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Collects the bytes a request writes, in order, as the port would see them.
struct TCapture {
    std::vector<uint8_t> Bytes;
    TByteSink Sink() {
        return [this](uint8_t b) { Bytes.push_back(b); };
    }
};

uint8_t ByteSum(const std::vector<uint8_t>& bytes) {
    uint8_t sum = 0;
    for (uint8_t b : bytes) {
        sum = static_cast<uint8_t>(sum + b);
    }
    return sum;
}

using TBytes = std::vector<uint8_t>;

TEST(Requests, EveryRequestByteForByteAndSumsToFF) {
    struct TCase {
        const char* Name;
        std::function<void(const TByteSink&)> Send;
        TBytes Expected;
    };
    const TCase cases[] = {
        {"live", SendLiveDataRequest, {0xC0, 0x04, 0x26, 0x15}},
        {"cal read", SendCalibrationRead, {0xC0, 0x06, 0x60, 0x00, 0x05, 0xD4}},
        {"cal write 1000",
         [](const TByteSink& s) { SendCalibrationWrite(s, 1000); },
         {0xC0, 0x0A, 0x62, 0x00, 0x04, 0x03, 0xE8, 0x03, 0xE8, 0xF9}},
        {"can read", SendCanRead, {0xC0, 0x06, 0x60, 0x0A, 0x03, 0xCC}},
        {"can write 291 500k",
         [](const TByteSink& s) { SendCanWrite(s, 291, 1); },
         {0xC0, 0x09, 0x62, 0x0A, 0x03, 0x01, 0x23, 0x01, 0xA2}},
    };
    for (const TCase& c : cases) {
        TCapture capture;
        c.Send(capture.Sink());
        EXPECT_EQ(capture.Bytes, c.Expected) << c.Name;
        EXPECT_EQ(ByteSum(capture.Bytes), 0xFF) << c.Name;
        EXPECT_EQ(capture.Bytes[1], capture.Bytes.size()) << c.Name << ": length byte";
    }
}

TEST(Requests, ChecksumUsesOnlyTheLowByteOfTheSum) {
    TCapture capture;
    SendCalibrationWrite(capture.Sink(), 1000);
    unsigned fullSum = 0;
    for (size_t i = 0; i + 1 < capture.Bytes.size(); ++i) {
        fullSum += capture.Bytes[i];
    }
    EXPECT_EQ(fullSum, 0x306u);
    EXPECT_EQ(capture.Bytes.back(), 0xF9);
}

TEST(Requests, CanAddressHighByteFirst) {
    TCapture capture;
    SendCanWrite(capture.Sink(), 2046, 9);
    ASSERT_EQ(capture.Bytes.size(), 9u);
    EXPECT_EQ(capture.Bytes[5], 0x07);
    EXPECT_EQ(capture.Bytes[6], 0xFE);
    EXPECT_EQ(capture.Bytes[7], 0x09);
    EXPECT_EQ(ByteSum(capture.Bytes), 0xFF);
}

TEST(Requests, WritesSumToFFForAnyValue) {
    for (uint32_t cal = 0; cal <= 0xFFFF; cal += 257) {
        TCapture capture;
        SendCalibrationWrite(capture.Sink(), static_cast<uint16_t>(cal));
        ASSERT_EQ(ByteSum(capture.Bytes), 0xFF) << cal;
        ASSERT_EQ(capture.Bytes[5], capture.Bytes[7]);
        ASSERT_EQ(capture.Bytes[6], capture.Bytes[8]);
    }
    for (uint32_t code = 0; code <= 0xFF; ++code) {
        TCapture capture;
        SendCanWrite(capture.Sink(), static_cast<uint16_t>(code * 8), static_cast<uint8_t>(code));
        ASSERT_EQ(ByteSum(capture.Bytes), 0xFF) << code;
    }
}

TEST(Requests, UnsetSinkSendsNothingAndDoesNotFail) {
    EXPECT_NO_THROW(SendLiveDataRequest(TByteSink()));
    EXPECT_NO_THROW(SendCalibrationWrite(TByteSink(), 1000));
}

} // namespace
