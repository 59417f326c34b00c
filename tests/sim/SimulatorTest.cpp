#include "sim/Simulator.h"
#include "sim/ReplyPlan.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "PtyClient.h"
#include "TempDir.h"
#include "protocol/Conversions.h"
#include "protocol/Requests.h"

using namespace std::chrono_literals;

namespace {

using TBytes = std::vector<uint8_t>;

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        TSimConfig config;
        config.Live.Lambda = 0.987;
        config.Live.SupplyVolts = 12.4992;
        config.Cal = 1000;
        config.Firmware = 12;
        config.CanAddress = 0x123;
        config.CanSpeed = 1;
        Sim = std::make_unique<TWbxSimulator>(config);
        StartedAt = std::chrono::steady_clock::now();
        Sim->Start(Dir.Path(), 7);
        Client = std::make_unique<TPtyClient>(Dir.Path() + "/COM7");
        ASSERT_TRUE(Client->IsOpen());
    }

    TBytes Ask(const std::function<void(const TByteSink&)>& send, size_t expected) {
        send(Client->Sink());
        return Client->Read(expected, 2000ms);
    }

    TTempDir Dir;
    std::unique_ptr<TWbxSimulator> Sim;
    std::unique_ptr<TPtyClient> Client;
    std::chrono::steady_clock::time_point StartedAt; // just before the simulator started serving
};

TEST_F(SimulatorTest, PublishesTheTerminalUnderItsComName) {
    EXPECT_EQ(Sim->PortName(), "COM7");
    EXPECT_EQ(Sim->LinkPath(), Dir.Path() + "/COM7");
    char target[256] = {};
    ASSERT_GT(readlink(Sim->LinkPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), Sim->SlavePath());
    EXPECT_TRUE(Sim->Running());
    Sim->Stop();
    struct stat st {};
    EXPECT_NE(lstat((Dir.Path() + "/COM7").c_str(), &st), 0);
    EXPECT_FALSE(Sim->Running());
}

TEST_F(SimulatorTest, AnswersEachRequestWithAWellFormedReply) {
    const TBytes live = Ask(SendLiveDataRequest, LiveReplyLength);
    ASSERT_EQ(live.size(), size_t{LiveReplyLength});
    EXPECT_DOUBLE_EQ(LambdaFromRaw(live[LiveLambdaLow], live[LiveLambdaHigh]), 0.987);
    EXPECT_EQ(live[LiveWarmupFlag], 0);
    EXPECT_EQ(live[LiveSupplyRaw], 200);

    const TBytes cal = Ask(SendCalibrationRead, CalReplyLength);
    ASSERT_EQ(cal.size(), size_t{CalReplyLength});
    EXPECT_EQ(cal[CalReplyRichHigh] << 8 | cal[CalReplyRichLow], 1000);
    EXPECT_EQ(cal[CalReplyFirmware], 12);

    const TBytes can = Ask(SendCanRead, CanReplyLength);
    ASSERT_EQ(can.size(), size_t{CanReplyLength});
    EXPECT_EQ(can[CanReplyAddressHigh] << 8 | can[CanReplyAddressLow], 0x123);
    EXPECT_EQ(can[CanReplySpeed], 1);

    for (const TBytes& reply : {live, cal, can}) {
        EXPECT_EQ(ByteSum(reply), 0xFF);
    }
    // The writes are acknowledged; the utility never reads the acknowledgement, but it must
    // not run into the next reply: nothing more than the acknowledgement arrives.
    const TBytes ackCal = Ask([](const TByteSink& s) { SendCalibrationWrite(s, 1042); }, 64);
    const TBytes ackCan = Ask([](const TByteSink& s) { SendCanWrite(s, 2046, 9); }, 64);
    EXPECT_EQ(ackCal.size(), 6u);
    EXPECT_EQ(ackCan.size(), 6u);
    ASSERT_EQ(Sim->RequestCount(), 5u);
    EXPECT_EQ(Sim->Requests()[4].Bytes,
              TBytes({0xC0, 0x09, 0x62, 0x0A, 0x03, 0x07, 0xFE, 0x09,
                      0xFF - ((0xC0 + 0x09 + 0x62 + 0x0A + 0x03 + 0x07 + 0xFE + 0x09) & 0xFF)}));
}

TEST_F(SimulatorTest, MemoryWriteThenReadReturnsTheWrittenValues) {
    SendCalibrationWrite(Client->Sink(), 1155);
    SendCanWrite(Client->Sink(), 2046, 7);
    ASSERT_TRUE(Sim->WaitForRequestCount(2, 2000ms));
    Client->Read(12, 500ms); // the two acknowledgements
    const TBytes cal = Ask(SendCalibrationRead, CalReplyLength);
    ASSERT_EQ(cal.size(), size_t{CalReplyLength});
    EXPECT_EQ(cal[CalReplyRichHigh] << 8 | cal[CalReplyRichLow], 1155);
    EXPECT_EQ(cal[CalReplyLeanHigh] << 8 | cal[CalReplyLeanLow], 1155);
    EXPECT_EQ(cal[CalReplyFirmware], 12);
    const TBytes can = Ask(SendCanRead, CanReplyLength);
    ASSERT_EQ(can.size(), size_t{CanReplyLength});
    EXPECT_EQ(can[CanReplyAddressHigh], 0x07);
    EXPECT_EQ(can[CanReplyAddressLow], 0xFE);
    EXPECT_EQ(can[CanReplySpeed], 7);
    EXPECT_EQ(Sim->CalRich(), 1155);
    EXPECT_EQ(Sim->CanAddress(), 2046);
}

TEST_F(SimulatorTest, WrongChecksumGetsNoAnswerButTheNextRequestDoes) {
    Client->Send({0xC0, 0x04, 0x26, 0x14});
    EXPECT_TRUE(Client->Read(1, 150ms).empty());
    EXPECT_EQ(Sim->RequestCount(), 0u);
    // A stray byte on the line before a request.
    Client->Send({0x5A});
    EXPECT_EQ(Ask(SendLiveDataRequest, LiveReplyLength).size(), size_t{LiveReplyLength});
    EXPECT_EQ(Sim->RequestCount(), 1u);
}

TEST_F(SimulatorTest, RecordsRequestsInOrderWithTheirTimes) {
    const auto before = std::chrono::steady_clock::now();
    SendLiveDataRequest(Client->Sink());
    Client->Read(LiveReplyLength, 1000ms);
    SendCanRead(Client->Sink());
    const auto can = Sim->WaitForCommand(CmdMemoryRead, 1, 2000ms);
    ASSERT_TRUE(can.has_value());
    const auto record = Sim->Requests();
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(record[0].Command(), CmdLiveData);
    EXPECT_EQ(record[1].Bytes, TBytes({0xC0, 0x06, 0x60, 0x0A, 0x03, 0xCC}));
    EXPECT_GE(record[0].Time, before);
    EXPECT_LE(record[0].Time, record[1].Time);
    EXPECT_FALSE(Sim->WaitForCommand(CmdMemoryWrite, 0, 50ms).has_value());
    Sim->ClearRequests();
    EXPECT_EQ(Sim->RequestCount(), 0u);
}

TEST_F(SimulatorTest, ValuesChangedWhileServingShowInTheNextReply) {
    Sim->SetLambda(1.25);
    Sim->SetSupplyVolts(SupplyVolts(180));
    TBytes live = Ask(SendLiveDataRequest, LiveReplyLength);
    ASSERT_EQ(live.size(), size_t{LiveReplyLength});
    EXPECT_DOUBLE_EQ(LambdaFromRaw(live[LiveLambdaLow], live[LiveLambdaHigh]), 1.25);
    EXPECT_EQ(live[LiveSupplyRaw], 180);
    Sim->SetWarmupSeconds(60);
    live = Ask(SendLiveDataRequest, LiveReplyLength);
    ASSERT_EQ(live.size(), size_t{LiveReplyLength});
    EXPECT_EQ(live[LiveWarmupFlag], 1);
}

// Setters from another thread while the serving thread answers (run under ThreadSanitizer).
TEST_F(SimulatorTest, ConcurrentChangesWhileServing) {
    std::atomic<bool> done{false};
    std::thread changer([&] {
        for (int i = 0; !done; ++i) {
            Sim->SetLambda(0.7 + (i % 50) * 0.01);
            Sim->SetCal(static_cast<uint16_t>(950 + i % 200));
            Sim->SetScenario(TSimScenario());
            std::this_thread::sleep_for(200us);
        }
    });
    int answered = 0;
    for (int i = 0; i < 30; ++i) {
        if (Ask(SendLiveDataRequest, LiveReplyLength).size() == size_t{LiveReplyLength}) {
            ++answered;
        }
    }
    done = true;
    changer.join();
    EXPECT_EQ(answered, 30);
}

TEST_F(SimulatorTest, SilentScenarioAnswersNothingButStillRecords) {
    Sim->SetScenario(*ScenarioByName("silent"));
    SendLiveDataRequest(Client->Sink());
    EXPECT_TRUE(Sim->WaitForRequestCount(1, 2000ms));
    EXPECT_TRUE(Client->Read(1, 200ms).empty());
    Sim->SetScenario(TSimScenario());
    EXPECT_EQ(Ask(SendLiveDataRequest, LiveReplyLength).size(), size_t{LiveReplyLength});
}

TEST_F(SimulatorTest, StrayScenarioPutsNoiseBeforeEachReply) {
    Sim->SetScenario(*ScenarioByName("stray"));
    const TBytes bytes = Ask(SendLiveDataRequest, LiveReplyLength + 3);
    ASSERT_EQ(bytes.size(), size_t{LiveReplyLength + 3});
    EXPECT_EQ(TBytes(bytes.begin(), bytes.begin() + 3), StrayNoise(3));
    EXPECT_EQ(ByteSum(TBytes(bytes.begin() + 3, bytes.end())), 0xFF);
}

TEST_F(SimulatorTest, SplitScenarioDeliversRepliesInPieces) {
    TSimScenario split;
    split.SplitPieceSize = 4;
    split.SplitPause = 60ms;
    Sim->SetScenario(split);
    SendCalibrationRead(Client->Sink());
    const auto arrivals = Client->Arrivals(CalReplyLength, 2000ms);
    size_t total = 0;
    for (const TArrival& a : arrivals) {
        total += a.Bytes.size();
    }
    EXPECT_EQ(total, size_t{CalReplyLength});
    ASSERT_GE(arrivals.size(), 3u); // 4 + 4 + 3
    const auto spread = arrivals.back().Time - arrivals.front().Time;
    EXPECT_GE(spread, 100ms);
    EXPECT_LT(spread, 1000ms);
    EXPECT_LE(arrivals.front().Bytes.size(), 4u);
}

TEST_F(SimulatorTest, PacedScenarioKeepsTheLineRate) {
    Sim->SetScenario(*ScenarioByName("paced"));
    // A long memory read (200 bytes, a 206-byte reply) makes the line rate measurable on a
    // busy machine: first to last byte is 205 byte times, ~107 ms at 19200 baud. The median of
    // three replies keeps one unlucky scheduling delay from deciding the result.
    constexpr uint8_t count = 200;
    constexpr size_t replyLength = count + 6;
    std::vector<double> perByte;
    size_t mostReads = 0;
    for (int i = 0; i < 3; ++i) {
        SendMemoryRead(Client->Sink(), 0, count);
        const auto arrivals = Client->Arrivals(replyLength, 3000ms);
        ASSERT_FALSE(arrivals.empty());
        const auto spread = arrivals.back().Time - arrivals.front().Time;
        perByte.push_back(std::chrono::duration<double, std::micro>(spread).count() /
                          (replyLength - 1));
        mostReads = std::max(mostReads, arrivals.size());
    }
    EXPECT_GE(mostReads, 10u) << "bytes must arrive spread out, not in one block";
    std::sort(perByte.begin(), perByte.end());
    const double expected = std::chrono::duration<double, std::micro>(LineByteTime).count();
    EXPECT_NEAR(perByte[1], expected, 0.2 * expected);
}

TEST_F(SimulatorTest, DisconnectHangsUpTheLineAndRestartComesBack) {
    TSimScenario disconnect;
    disconnect.DisconnectAfter = 300ms;
    Sim->SetScenario(disconnect);
    EXPECT_EQ(Ask(SendLiveDataRequest, LiveReplyLength).size(), size_t{LiveReplyLength});
    ASSERT_TRUE(Sim->WaitForDisconnect(3000ms));
    // The time counts from the start of serving, not from when the scenario was chosen.
    EXPECT_GE(std::chrono::steady_clock::now() - StartedAt, 300ms) << "hung up before its time";
    EXPECT_TRUE(Client->WaitEvents(1000ms) & POLLHUP);
    EXPECT_FALSE(Sim->Running());
    struct stat st {};
    EXPECT_NE(lstat((Dir.Path() + "/COM7").c_str(), &st), 0) << "link of an unplugged port";

    Sim->SetScenario(TSimScenario());
    Sim->Restart();
    EXPECT_FALSE(Sim->Disconnected());
    TPtyClient again(Dir.Path() + "/COM7");
    ASSERT_TRUE(again.IsOpen());
    SendCanRead(again.Sink());
    EXPECT_EQ(again.Read(CanReplyLength, 2000ms).size(), size_t{CanReplyLength});
    EXPECT_EQ(Sim->CanAddress(), 0x123) << "memory survives the restart";
}

TEST_F(SimulatorTest, LineStaysUsableAcrossClientReopen) {
    Client.reset();
    TPtyClient reopened(Dir.Path() + "/COM7");
    ASSERT_TRUE(reopened.IsOpen());
    EXPECT_FALSE(reopened.WaitEvents(50ms) & POLLHUP);
    SendLiveDataRequest(reopened.Sink());
    EXPECT_EQ(reopened.Read(LiveReplyLength, 2000ms).size(), size_t{LiveReplyLength});
}

TEST(SimulatorLifecycle, TwoSimulatorsAndStaleLinks) {
    TTempDir dir;
    // A stale link left by a crashed run is replaced.
    ASSERT_EQ(symlink("/dev/pts/nonexistent", (dir.Path() + "/COM2").c_str()), 0);
    TWbxSimulator first;
    first.Start(dir.Path(), 2);
    TWbxSimulator second;
    second.Start(dir.Path(), 3);
    EXPECT_NE(first.SlavePath(), second.SlavePath());
    EXPECT_THROW(first.Start(dir.Path(), 4), std::logic_error);
    TPtyClient client(dir.Path() + "/COM3");
    SendLiveDataRequest(client.Sink());
    EXPECT_EQ(client.Read(LiveReplyLength, 2000ms).size(), size_t{LiveReplyLength});
    EXPECT_EQ(first.RequestCount(), 0u);
    first.Stop();
    first.Stop();
    EXPECT_TRUE(second.Running());
}

TEST(SimulatorLifecycle, RefusesANameTakenByAFile) {
    TTempDir dir;
    const std::string path = dir.Path() + "/COM1";
    FILE* f = fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    TWbxSimulator sim;
    EXPECT_THROW(sim.Start(dir.Path(), 1), std::system_error);
    EXPECT_FALSE(sim.Running());
}

} // namespace

// Like a USB adapter plugged in again: the line comes back under another number, and the
// link named as its socket follows it; unplugged, the link is gone.
TEST(SimulatorLifecycle, ARenumberingLineComesBackUnderANewNumberAndItsLinkFollows) {
    TTempDir dir;
    TSimConfig config;
    config.DeviceLinks = dir.Path() + "/links";
    config.Renumber = true;
    config.Scenario.DisconnectAfter = std::chrono::milliseconds(0);
    TWbxSimulator sim(config);
    sim.Start(dir.Path() + "/ports", 2);
    const std::string link = sim.DeviceLinkPath();
    EXPECT_EQ(link, dir.Path() + "/links/by-path/" + DeviceLinkName(2));
    const std::string first = sim.SlavePath();
    ASSERT_TRUE(sim.WaitForDisconnect(std::chrono::seconds(2)));
    struct stat st {};
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link outlived the unplugging";
    sim.SetScenario(TSimScenario());
    sim.Restart();
    EXPECT_NE(sim.SlavePath(), first);
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.SlavePath());
}
