#include "sim/Controller.h"
#include "sim/ReplyPlan.h"
#include "sim/RequestParser.h"

#include <gtest/gtest.h>

#include "PtyClient.h"
#include "protocol/Conversions.h"
#include "protocol/Requests.h"

namespace {

using TBytes = std::vector<uint8_t>;

TBytes Capture(const std::function<void(const TByteSink&)>& send) {
    TBytes bytes;
    send([&](uint8_t b) { bytes.push_back(b); });
    return bytes;
}

std::vector<TFrame> FeedAll(TRequestParser& parser, const TBytes& bytes) {
    return parser.Feed(bytes.data(), bytes.size());
}

TEST(RequestParser, FramesAcrossArbitraryChunks) {
    TBytes stream = Capture(SendLiveDataRequest);
    const TBytes cal = Capture([](const TByteSink& s) { SendCalibrationWrite(s, 1234); });
    stream.insert(stream.end(), cal.begin(), cal.end());
    TRequestParser parser;
    std::vector<TFrame> frames;
    for (uint8_t b : stream) { // one byte at a time, as a paced line delivers them
        for (TFrame& f : parser.Feed(&b, 1)) {
            frames.push_back(f);
        }
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], Capture(SendLiveDataRequest));
    EXPECT_EQ(frames[1], cal);
    EXPECT_EQ(parser.Pending(), 0u);
    EXPECT_EQ(parser.DroppedBytes(), 0u);
}

TEST(RequestParser, DropsNoiseBadChecksumsAndImpossibleLengths) {
    TRequestParser parser;
    // Noise, then a live request with a corrupted checksum, then a sync with length 2,
    // then a good CAN read.
    TBytes stream = {0x00, 0x55, 0xFF, 0xC0, 0x04, 0x26, 0x16, 0xC0, 0x02};
    const TBytes canRead = Capture(SendCanRead);
    stream.insert(stream.end(), canRead.begin(), canRead.end());
    const auto frames = FeedAll(parser, stream);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], canRead);
    EXPECT_EQ(parser.DroppedBytes(), 9u);
    EXPECT_EQ(parser.Pending(), 0u);
}

TEST(RequestParser, StraySyncWithLargeLengthDoesNotHoldBackLaterRequests) {
    TRequestParser parser;
    TBytes stream = {0xC0, 0xC5}; // promises a 197-byte frame that never comes
    const TBytes live = Capture(SendLiveDataRequest);
    stream.insert(stream.end(), live.begin(), live.end());
    const auto frames = FeedAll(parser, stream);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], live);
}

TEST(RequestParser, IncompleteFrameWaitsForTheRest) {
    TRequestParser parser;
    const TBytes cal = Capture(SendCalibrationRead);
    EXPECT_TRUE(parser.Feed(cal.data(), 4).empty());
    EXPECT_EQ(parser.Pending(), 4u);
    const auto frames = parser.Feed(cal.data() + 4, cal.size() - 4);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], cal);
}

TWbxController MakeController() {
    TWbxController controller;
    controller.Memory().SetCalRich(1000);
    controller.Memory().SetCalLean(1001);
    controller.Memory().SetFirmware(12);
    controller.Memory().SetCanAddress(0x123);
    controller.Memory().SetCanSpeed(3);
    controller.Live().Lambda = 0.987;
    controller.Live().SupplyVolts = 12.4992;
    controller.Live().WarmupSeconds = 2.0;
    return controller;
}

TEST(Controller, LiveDataReplyLayout) {
    TWbxController controller = MakeController();
    const TBytes warm = controller.Answer(Capture(SendLiveDataRequest), 1.0);
    ASSERT_EQ(warm.size(), size_t{LiveReplyLength});
    EXPECT_DOUBLE_EQ(LambdaFromRaw(warm[LiveLambdaLow], warm[LiveLambdaHigh]), 0.987);
    EXPECT_EQ(warm[LiveWarmupFlag], 1);
    EXPECT_EQ(warm[LiveSupplyRaw], 200);
    EXPECT_EQ(ByteSum(warm), 0xFF);
    const TBytes ready = controller.Answer(Capture(SendLiveDataRequest), 2.5);
    EXPECT_EQ(ready[LiveWarmupFlag], 0);
}

TEST(Controller, MemoryReadRepliesCarryValuesAtTheirPositions) {
    TWbxController controller = MakeController();
    const TBytes cal = controller.Answer(Capture(SendCalibrationRead), 0);
    ASSERT_EQ(cal.size(), size_t{CalReplyLength});
    EXPECT_EQ(cal[CalReplyRichHigh] << 8 | cal[CalReplyRichLow], 1000);
    EXPECT_EQ(cal[CalReplyLeanHigh] << 8 | cal[CalReplyLeanLow], 1001);
    EXPECT_EQ(cal[CalReplyFirmware], 12);
    EXPECT_EQ(ByteSum(cal), 0xFF);

    const TBytes can = controller.Answer(Capture(SendCanRead), 0);
    ASSERT_EQ(can.size(), size_t{CanReplyLength});
    EXPECT_EQ(can[CanReplyAddressHigh] << 8 | can[CanReplyAddressLow], 0x123);
    EXPECT_EQ(can[CanReplySpeed], 3);
    EXPECT_EQ(ByteSum(can), 0xFF);
}

TEST(Controller, WritesStoreHighByteFirstButNeverTheFirmware) {
    TWbxController controller = MakeController();
    const TBytes ack =
        controller.Answer(Capture([](const TByteSink& s) { SendCalibrationWrite(s, 1155); }), 0);
    EXPECT_FALSE(ack.empty());
    EXPECT_EQ(ByteSum(ack), 0xFF);
    EXPECT_EQ(controller.Memory().Byte(0), 0x04);
    EXPECT_EQ(controller.Memory().Byte(1), 0x83);
    EXPECT_EQ(controller.Memory().CalLean(), 1155);

    controller.Answer(Capture([](const TByteSink& s) { SendCanWrite(s, 2046, 9); }), 0);
    EXPECT_EQ(controller.Memory().CanAddress(), 2046);
    EXPECT_EQ(controller.Memory().CanSpeed(), 9);

    // A write over the whole calibration block leaves the firmware byte alone.
    TBytes write = {0xC0, 0x0B, CmdMemoryWrite, 0x00, 0x05, 1, 2, 3, 4, 99};
    TFrameChecksum sum;
    for (uint8_t b : write) {
        sum.Add(b);
    }
    write.push_back(sum.Value());
    EXPECT_FALSE(controller.Answer(write, 0).empty());
    EXPECT_EQ(controller.Memory().CalRich(), 0x0102);
    EXPECT_EQ(controller.Memory().Firmware(), 12);
}

TEST(Controller, UnknownCommandsAndMismatchedLengthsGetNoAnswer) {
    TWbxController controller = MakeController();
    const TBytes unknown = {0xC0, 0x04, 0x30, 0x0B};
    EXPECT_TRUE(controller.Answer(unknown, 0).empty());
    // A memory write whose count does not match its length.
    const TBytes badWrite = {0xC0, 0x07, CmdMemoryWrite, 0x00, 0x04, 0x01, 0xD1};
    EXPECT_TRUE(controller.Answer(badWrite, 0).empty());
    EXPECT_EQ(controller.Memory().CalRich(), 1000);
    // A live-data command with parameters.
    const TBytes longLive = {0xC0, 0x05, CmdLiveData, 0x00, 0x14};
    EXPECT_TRUE(controller.Answer(longLive, 0).empty());
}

TEST(LiveSource, SweepStaysInRangeAndTurnsAtTheEnds) {
    TLiveSettings settings;
    settings.Sweep = true;
    settings.SweepPeriodSeconds = 10;
    EXPECT_DOUBLE_EQ(LambdaAt(settings, 0), SweepLow);
    EXPECT_DOUBLE_EQ(LambdaAt(settings, 5), SweepHigh);
    EXPECT_NEAR(LambdaAt(settings, 2.5), 1.0, 1e-12);
    for (double t = 0; t < 30; t += 0.1) {
        const double lambda = LambdaAt(settings, t);
        ASSERT_GE(lambda, SweepLow - 1e-12);
        ASSERT_LE(lambda, SweepHigh + 1e-12);
    }
}

TEST(LiveSource, RawConversionsRoundAndLimit) {
    EXPECT_EQ(LambdaRawFromValue(0.987), 987);
    EXPECT_EQ(LambdaRawFromValue(70.0), 65535);
    EXPECT_EQ(LambdaRawFromValue(-1.0), 0);
    EXPECT_EQ(SupplyRawFromVolts(12.4992), 200);
    EXPECT_EQ(SupplyRawFromVolts(30.0), 255);
    EXPECT_EQ(SupplyRawFromVolts(-2.0), 0);
    // The raw byte converts back to within half a count.
    EXPECT_NEAR(SupplyVolts(SupplyRawFromVolts(13.8)), 13.8, 0.032);
}

TEST(ReplyPlan, ScenariosShapeTheWrites) {
    const TBytes reply = {0xC0, 0x08, 0x27, 1, 2, 3, 4, 5};
    TSimScenario normal;
    auto writes = PlanReply(reply, normal);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].Bytes, reply);

    TSimScenario silent;
    silent.Silent = true;
    EXPECT_TRUE(PlanReply(reply, silent).empty());

    TSimScenario stray;
    stray.StrayBytes = 2;
    writes = PlanReply(reply, stray);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].Bytes.size(), reply.size() + 2);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), writes[0].Bytes.begin() + 2));

    TSimScenario split;
    split.SplitPieceSize = 3;
    split.SplitPause = std::chrono::milliseconds(20);
    writes = PlanReply(reply, split);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[2].Bytes.size(), 2u);
    EXPECT_EQ(writes[2].At, std::chrono::milliseconds(40));

    TSimScenario paced;
    paced.Paced = true;
    writes = PlanReply(reply, paced);
    ASSERT_EQ(writes.size(), reply.size());
    EXPECT_EQ(writes.back().At, 7 * LineByteTime);
    const double byteMicros = std::chrono::duration<double, std::micro>(LineByteTime).count();
    EXPECT_NEAR(byteMicros, 520.8, 0.1);
}

} // namespace
