#include "LogLoad.h"

#include <cctype>

TLogLoad::TLogLoad(const std::string& path, const TLogReadOptions& options)
    : FFile(std::make_unique<TLogFile>(path)), FResult(std::make_shared<TReplayLog>()) {
    const size_t slash = path.rfind('/');
    FResult->Name = slash == std::string::npos ? path : path.substr(slash + 1);
    const double gap = FFile->Kind() == TLogKind::Text ? LogGapSeconds : LiveGapSeconds;
    FJob = std::make_unique<TChartJob>(
        FFile->Size(),
        [this, options, gap](const std::atomic<bool>& cancel, std::atomic<uint64_t>& done) {
            TSeriesBuilder builder(gap);
            FResult->Summary = FFile->Read(builder, options, &cancel, &done);
            if (cancel) {
                return;
            }
            FResult->Series = builder.TakeSeries();
            FResult->Markers = builder.TakeMarkers();
            for (TChartMarker& marker : FResult->Markers) {
                marker.Text = MarkerTextOf(marker.Text);
            }
        });
}

std::shared_ptr<TReplayLog> TLogLoad::Take() {
    FJob->Wait();
    return FJob->Cancelled() ? nullptr : FResult;
}

std::string MarkerTextOf(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    if (at > 0 && text.compare(at, 3, " - ") == 0) {
        return text.substr(at + 3);
    }
    return text;
}
