#include "CsvReader.h"

#include <cmath>

#include "CsvLog.h"
#include "LogNumbers.h"
#include "LogTime.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

int IndexOf(const std::vector<std::string>& names, std::string_view name) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

bool SplitCsvRow(std::string_view line, std::vector<std::string>& fields) {
    size_t count = 0;
    size_t at = 0;
    for (;;) {
        if (fields.size() <= count) {
            fields.emplace_back();
        }
        std::string& field = fields[count++];
        field.clear();
        if (at < line.size() && line[at] == '"') {
            ++at;
            for (;;) {
                const size_t quote = line.find('"', at);
                if (quote == std::string_view::npos) {
                    return false;
                }
                field.append(line.substr(at, quote - at));
                at = quote + 1;
                if (at < line.size() && line[at] == '"') {
                    field += '"';
                    ++at;
                    continue;
                }
                break;
            }
            const size_t comma = line.find(',', at);
            at = comma == std::string_view::npos ? line.size() : comma;
        } else {
            const size_t comma = line.find(',', at);
            const size_t end = comma == std::string_view::npos ? line.size() : comma;
            field.append(line.substr(at, end - at));
            at = end;
        }
        if (at >= line.size()) {
            break;
        }
        ++at; // the comma
    }
    fields.resize(count);
    return true;
}

bool IsCsvHeaderRow(std::string_view line) {
    if (line.starts_with(ByteOrderMark)) {
        line.remove_prefix(ByteOrderMark.size());
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::vector<std::string> fields;
    return SplitCsvRow(line, fields) && fields.size() >= 3 && fields[0] == "Time (s)" &&
           fields[1] == "Date and time";
}

TCsvLogReader::TCsvLogReader(TLogSink& sink, const TLogReadOptions& options)
    : TLogFormatReader(TLogKind::Csv, sink, options) {}

void TCsvLogReader::Line(std::string_view line, bool ended) {
    if (FHeader) {
        if (line.starts_with(ByteOrderMark)) {
            line.remove_prefix(ByteOrderMark.size());
        }
        SplitCsvRow(line, FFields);
        Header();
        FHeader = false;
        return;
    }
    if (!SplitCsvRow(line, FFields)) {
        Skip();
        return;
    }
    Row(ended);
}

void TCsvLogReader::Header() {
    FTime = IndexOf(FFields, "Time (s)");
    FWall = IndexOf(FFields, "Date and time");
    FLambda = IndexOf(FFields, "Lambda");
    FAfr = IndexOf(FFields, "AFR");
    FVolts = IndexOf(FFields, "Supply (V)");
    FWarmup = IndexOf(FFields, "Warmup");
    FMark = IndexOf(FFields, "Mark");
    FSummary.LambdaFromAfr = FLambda < 0 && FAfr >= 0;
}

const std::string* TCsvLogReader::Field(int index) const {
    return index >= 0 && static_cast<size_t>(index) < FFields.size() ? &FFields[index] : nullptr;
}

void TCsvLogReader::Row(bool ended) {
    double time = 0;
    const std::string* timeText = Field(FTime);
    if (!ended || timeText == nullptr || !ParsePlainNumber(*timeText, time) ||
        !std::isfinite(time)) {
        Skip();
        return;
    }
    const std::string* wallText = Field(FWall);
    const std::optional<double> written = wallText ? ParseIsoTime(*wallText) : std::nullopt;
    if (!FHasStart) {
        FHasStart = true;
        if (written) {
            FStart = *written - time;
            FSummary.Date = LocalDateOf(*written);
        } else {
            FStart = LocalMidnight(DateUnread(wallText ? *wallText : std::string()));
        }
    }
    const double at = FStart + time;
    const double wall = written ? *written : at;
    const std::string* mark = Field(FMark);
    const std::string* lambdaText = Field(FLambda >= 0 ? FLambda : FAfr);
    const bool markOnly =
        mark != nullptr && !mark->empty() && (lambdaText == nullptr || lambdaText->empty());
    if (mark != nullptr && !mark->empty()) {
        FSink.Mark({at, wall, *mark});
    }
    if (markOnly) {
        return;
    }
    double lambda = 0;
    double volts = 0;
    double warmup = 0;
    const std::string* voltsText = Field(FVolts);
    const std::string* warmupText = Field(FWarmup);
    if (lambdaText == nullptr || !ParsePlainNumber(*lambdaText, lambda) ||
        (voltsText != nullptr && !voltsText->empty() && !ParsePlainNumber(*voltsText, volts)) ||
        (warmupText != nullptr && !warmupText->empty() && !ParsePlainNumber(*warmupText, warmup))) {
        Skip();
        return;
    }
    if (FLambda < 0) {
        lambda /= FOptions.Fuel.Stoichiometric;
    }
    if (!PlausibleReading(lambda, volts)) {
        Skip();
        return;
    }
    TLogSample sample;
    sample.Time = at;
    sample.Wall = wall;
    sample.Clock = time;
    sample.Lambda = lambda;
    sample.Volts = volts;
    sample.Warmup = warmup != 0;
    FSink.Sample(sample);
}
