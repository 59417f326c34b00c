// Fuzz target: an MSL or CSV log (the program's own, or an MSL file of another tool) read back
// for the chart's replay, whatever the file holds, fed in pieces as the file reader does.
//
// Input: byte 0 picks where the text is cut into pieces (low four bits, times 7, plus 1 byte)
// and the fuel (bit 4: a ratio of 9.765 instead of 14.7); the rest is the file's text.
//
// Checks: a text recognised as a log is read, with every line after the header either a
// reading, a marker, a preamble line or counted as skipped; every reading has finite times and
// lambda and volts within 0 to 100; the pieces' size does not change what is read.
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "datalog/LineFeeder.h"
#include "datalog/LogReading.h"

namespace {

struct TCollect : TLogSink {
    void Sample(const TLogSample& s) override {
        FUZZ_CHECK(std::isfinite(s.Time) && std::isfinite(s.Wall) && std::isfinite(s.Clock));
        FUZZ_CHECK(s.Lambda >= 0 && s.Lambda <= 100 && s.Volts >= 0 && s.Volts <= 100);
        Lambdas.push_back(s.Lambda);
    }
    void Mark(const TLogMark& m) override { Marks.push_back(m.Text); }
    std::vector<double> Lambdas;
    std::vector<std::string> Marks;
};

TLogSummary Read(TLogKind kind, std::string_view text, size_t piece, const TLogReadOptions& options,
                 TCollect& out) {
    const auto reader = MakeLogReader(kind, out, options);
    TLineFeeder feeder(*reader);
    for (size_t at = 0; at < text.size(); at += piece) {
        feeder.Feed(text.substr(at, piece));
    }
    feeder.Finish();
    return reader->Summary();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFuzzInput in(data, size);
    const uint8_t choice = in.Byte();
    const std::string text = in.Rest();
    const auto kind = DetectLogKind(text);
    if (!kind || *kind == TLogKind::Text) {
        return 0;
    }
    TLogReadOptions options;
    options.Fuel = {"fuel", choice & 16 ? 9.765 : 14.7};
    options.Today = TLogDate{2024, 4, 3};
    TCollect whole;
    TCollect pieces;
    const TLogSummary a = Read(*kind, text, text.size() + 1, options, whole);
    const TLogSummary b = Read(*kind, text, (choice & 15) * 7 + 1, options, pieces);
    FUZZ_CHECK(a.SkippedLines == b.SkippedLines);
    FUZZ_CHECK(whole.Lambdas == pieces.Lambdas && whole.Marks == pieces.Marks);
    return 0;
}
