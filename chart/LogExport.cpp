#include "LogExport.h"

#include <algorithm>

TLogExport::TLogExport(const std::string& path, TLogKind kind, const TLogFuel& fuel,
                       std::shared_ptr<const TLambdaSeries> series, TIndexRange range,
                       std::vector<TChartMarker> markers)
    : FPath(path), FWriter(MakeLogWriter(kind, fuel)), FSeries(std::move(series)), FRange(range),
      FMarkers(std::move(markers)) {
    FLog.Create(path);
    FLog.SetLineEnd(FWriter->LineEnd());
    FJob = std::make_unique<TChartJob>(
        FRange.Size(), [this](const std::atomic<bool>& cancel, std::atomic<uint64_t>& done) {
            Write(cancel, done);
        });
}

void TLogExport::Write(const std::atomic<bool>& cancel, std::atomic<uint64_t>& done) {
    const TLambdaSeries& s = *FSeries;
    const double first = FRange.Empty() ? 0 : s.At(FRange.First).Time;
    const double last = FRange.Empty() ? 0 : s.At(FRange.Last - 1).Time;
    std::sort(FMarkers.begin(), FMarkers.end(),
              [](const TChartMarker& a, const TChartMarker& b) { return a.Time < b.Time; });
    auto marker = std::find_if(FMarkers.begin(), FMarkers.end(),
                               [first](const TChartMarker& m) { return m.Time >= first; });
    int number = 0;
    std::vector<std::string> lines = FWriter->Header(WallTimeAt(s.WallAt(first)));
    constexpr size_t Batch = 4096;
    for (size_t i = FRange.First; i < FRange.Last && !cancel; ++i) {
        const TSeriesPoint& p = s.At(i);
        lines.push_back(FWriter->Reading(
            {WallTimeAt(s.WallAt(p.Time)), p.Time - first, p.Lambda, p.Volts(), p.Warmup()}));
        // The markers up to the next reading follow this one.
        const double next = i + 1 < FRange.Last ? s.At(i + 1).Time : last;
        for (; marker != FMarkers.end() && marker->Time <= last &&
               (marker->Time < next || i + 1 == FRange.Last);
             ++marker) {
            lines.push_back(
                FWriter->Marker({++number, marker->Text, WallTimeAt(s.WallAt(marker->Time)),
                                 marker->Time - first}));
        }
        if (lines.size() >= Batch) {
            FLog.WriteLines(lines);
            lines.clear();
            done = i + 1 - FRange.First;
        }
    }
    FLog.WriteLines(lines);
    done = FRange.Size();
}

void TLogExport::Finish() {
    FJob->Wait();
    FLog.Close();
}
