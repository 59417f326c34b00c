// The MSL and CSV logs: their first lines byte for byte, and every format written through the
// crash-safe writer and read back, with the regional settings of a decimal comma.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "datalog/DataLog.h"
#include "datalog/LogFile.h"
#include "datalog/LogWriter.h"

namespace {

class LogFormats : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/uego-formats-XXXXXX";
        Dir = ::mkdtemp(tmpl);
        ::setenv("TZ", "Europe/Berlin", 1);
        ::tzset();
    }
    void TearDown() override {
        ::unsetenv("TZ");
        ::tzset();
        std::system(("rm -rf '" + Dir + "'").c_str());
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // A log of `kind`: started at 14:00:00.000 local time on 3 April 2024, three readings
    // a tenth of a second apart, the second one marked.
    std::string Write(TLogKind kind, const TRegionalSettings& rs = EnglishRegionalSettings()) {
        const std::string path = Dir + "/log." + LogKindSuffix(kind);
        const auto writer = MakeLogWriter(kind, {"Gasoline", 14.7}, rs);
        TDataLog log;
        log.Create(path);
        log.SetLineEnd(writer->LineEnd());
        log.WriteLines(writer->Header(Start));
        for (int i = 0; i < 3; ++i) {
            const auto wall = Start + std::chrono::milliseconds(100 * i + 23);
            log.WriteLine(writer->Reading({wall, 0.1 * i + 0.023, 0.987 + 0.01 * i, 12.5, i == 0}));
            if (i == 1 && writer->HasMarkers()) {
                log.WriteLine(writer->Marker({1, "Manual mark", wall, 0.1 * i + 0.023}));
            }
        }
        log.Close();
        return path;
    }

    std::string Dir;
    // 2024-04-03T12:00:00Z, 14:00 in Berlin.
    const TWallTime Start{std::chrono::milliseconds(1712145600000LL)};
};

struct TCollected : TLogSink {
    void Sample(const TLogSample& s) override { Samples.push_back(s); }
    void Mark(const TLogMark& m) override { Marks.push_back(m); }
    std::vector<TLogSample> Samples;
    std::vector<TLogMark> Marks;
};

} // namespace

TEST_F(LogFormats, MslAndCsvBeginByteForByte) {
    EXPECT_EQ(Read(Write(TLogKind::Msl)),
              "\"UEGO 4100 Interface " UEGO4100_VERSION "\"\n"
              "\"Capture Date: 2024-04-03T14:00:00.000+02:00\"\n"
              "\"Fuel: Gasoline, stoichiometric AFR 14.7\"\n"
              "Time\tLambda\tAFR\tSupply\tWarmup\n"
              "s\tlambda\tAFR\tV\t\n"
              "0.023\t0.987\t14.51\t12.5\t1\n"
              "0.123\t0.997\t14.66\t12.5\t0\n"
              "MARK  001 - Manual mark - 2024-04-03T14:00:00.123+02:00\n"
              "0.223\t1.007\t14.80\t12.5\t0\n");
    EXPECT_EQ(Read(Write(TLogKind::Csv)),
              "Time (s),Date and time,Lambda,AFR,Supply (V),Warmup,Mark\r\n"
              "0.023,2024-04-03T14:00:00.023+02:00,0.987,14.51,12.5,1,\r\n"
              "0.123,2024-04-03T14:00:00.123+02:00,0.997,14.66,12.5,0,\r\n"
              "0.123,2024-04-03T14:00:00.123+02:00,,,,,001 - Manual mark\r\n"
              "0.223,2024-04-03T14:00:00.223+02:00,1.007,14.80,12.5,0,\r\n");
    EXPECT_EQ(Read(Write(TLogKind::Text)), "WBX4100 Data Log V1.0  4/3/2024\r\n"
                                           "0.987,14:00:00, 12.5\r\n"
                                           "0.997,14:00:00, 12.5\r\n"
                                           "1.007,14:00:00, 12.5\r\n");
}

TEST_F(LogFormats, EveryFormatReadsBackWithADecimalComma) {
    SetRegionalSettings(CommaRegionalSettings());
    for (TLogKind kind : {TLogKind::Text, TLogKind::Msl, TLogKind::Csv}) {
        const std::string path = Write(kind, CommaRegionalSettings());
        TLogFile file(path);
        EXPECT_EQ(file.Kind(), kind) << path;
        TCollected got;
        const TLogSummary summary = file.Read(got, {});
        EXPECT_EQ(summary.SkippedLines, 0u) << path;
        ASSERT_TRUE(summary.Date.has_value()) << path;
        EXPECT_EQ(summary.Date->Day, 3);
        EXPECT_EQ(summary.Date->Month, 4);
        ASSERT_EQ(got.Samples.size(), 3u) << path;
        for (int i = 0; i < 3; ++i) {
            const TLogSample& s = got.Samples[i];
            EXPECT_NEAR(s.Lambda, 0.987 + 0.01 * i, 1e-9) << path;
            EXPECT_DOUBLE_EQ(s.Volts, 12.5);
            if (kind == TLogKind::Text) {
                // Whole seconds, the readings of one second spread over it.
                EXPECT_NEAR(s.Wall, EpochSeconds(Start) + i / 3.0, 1e-9);
            } else {
                EXPECT_NEAR(s.Time, EpochSeconds(Start) + 0.1 * i + 0.023, 1e-6) << path;
                EXPECT_NEAR(s.Wall, s.Time, 1e-6) << path;
                EXPECT_EQ(s.Warmup, i == 0) << path;
            }
        }
        if (kind != TLogKind::Text) {
            ASSERT_EQ(got.Marks.size(), 1u) << path;
            EXPECT_EQ(got.Marks[0].Text, "001 - Manual mark");
            EXPECT_NEAR(got.Marks[0].Time, got.Samples[1].Time, 1e-6);
        }
    }
    SetRegionalSettings(EnglishRegionalSettings());
}

TEST_F(LogFormats, AForeignMslWithAfrOnlyIsReadThroughTheFuel) {
    const std::string path = Dir + "/other.msl";
    std::ofstream(path, std::ios::binary)
        << "\"Another logger 2.1\"\n\"Capture Date: Wed Apr 03 14:00:00 CEST 2024\"\n"
           "Time\tRPM\tAFR\tBattery V\n"
           "ms\trpm\tAFR\tV\n"
           "0\t900\t14.7\t13.8\n"
           "100\t910\t13.23\t13.8\n"
           "MARK 2 - idle\n"
           "200\t915\tbad\t13.8\n";
    TLogFile file(path);
    ASSERT_EQ(file.Kind(), TLogKind::Msl);
    TCollected got;
    TLogReadOptions options;
    options.Fuel = {"Gasoline", 14.7};
    const TLogSummary summary = file.Read(got, options);
    EXPECT_TRUE(summary.LambdaFromAfr);
    EXPECT_EQ(summary.SkippedLines, 1u);
    ASSERT_EQ(got.Samples.size(), 2u);
    EXPECT_DOUBLE_EQ(got.Samples[1].Lambda, 0.9);
    EXPECT_DOUBLE_EQ(got.Samples[1].Volts, 13.8);
    EXPECT_NEAR(got.Samples[1].Time - got.Samples[0].Time, 0.1, 1e-6);
    EXPECT_DOUBLE_EQ(got.Samples[0].Time, 1712145600);
    ASSERT_EQ(got.Marks.size(), 1u);
    EXPECT_EQ(got.Marks[0].Text, "2 - idle");
}

TEST_F(LogFormats, CsvOpensInPythonsCsvModuleAndASpreadsheetStyleImport) {
    const std::string path = Write(TLogKind::Csv);
    const std::string command = "python3 '" UEGO_TEST_SOURCE_DIR "/csv_readers.py' '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}
