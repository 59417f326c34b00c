#pragma once
// Reads MSL logs: the program's own and those of other tools. The file is found by its header
// row, whose first field is "Time", over a units row with a time unit ("s" or "ms") under it.
// Columns are taken by name: Time, Lambda (or, failing that, AFR, turned into lambda by the
// chosen fuel), and where present Supply (or Batt...) and Warmup. Quoted lines before the
// header are the preamble: "Capture Date: ..." there gives the start, and Time counts from it.
// Lines "MARK ..." are markers, placed at the reading before them.
#include <string_view>

#include "LogReading.h"

class TMslLogReader : public TLogFormatReader {
public:
    TMslLogReader(TLogSink& sink, const TLogReadOptions& options);
    void Line(std::string_view line, bool ended) override;

private:
    enum class TPart { Preamble, Units, Rows };
    void Preamble(std::string_view line);
    void Header(std::string_view line);
    void Row(std::string_view line, bool ended);
    void Marker(std::string_view line);

    TPart FPart = TPart::Preamble;
    int FTime = -1;
    int FLambda = -1;
    int FAfr = -1;
    int FVolts = -1;
    int FWarmup = -1;
    double FTimeScale = 1;
    bool FHasStart = false;
    double FStart = 0;
    std::string FCaptureText;
    double FLastTime = 0;
    bool FHasReading = false;
};

// The text before the first tab, blanks around it removed.
std::string_view FirstTabField(std::string_view line);
// "Time" in any case.
bool IsMslTimeHeader(std::string_view field);
// Seconds per unit of a time unit ("s", "sec", "seconds", "ms"); 0 for anything else.
double MslTimeUnitScale(std::string_view unit);
// The start of a log from its capture date: ISO 8601, or "Wed Apr 03 14:00:00 CEST 2024" in
// local time.
std::optional<double> ParseCaptureDate(std::string_view text);
