#pragma once
// Reads the program's CSV log back, also after a spreadsheet saved it again with quotes around
// the fields: columns are found by their names in the header row. Time (s) orders the readings
// and Date and time gives the wall clock; a row whose Mark is filled is a marker.
#include <string>
#include <string_view>
#include <vector>

#include "LogReading.h"

class TCsvLogReader : public TLogFormatReader {
public:
    TCsvLogReader(TLogSink& sink, const TLogReadOptions& options);
    void Line(std::string_view line, bool ended) override;

private:
    void Header();
    void Row(bool ended);
    const std::string* Field(int index) const;

    bool FHeader = true;
    std::vector<std::string> FFields;
    int FTime = -1;
    int FWall = -1;
    int FLambda = -1;
    int FAfr = -1;
    int FVolts = -1;
    int FWarmup = -1;
    int FMark = -1;
    bool FHasStart = false;
    double FStart = 0; // the wall clock at time 0
};

// The fields of one CSV row (RFC 4180 quoting); false when a quote is left open.
bool SplitCsvRow(std::string_view line, std::vector<std::string>& fields);
// The program's CSV header row, possibly quoted field by field.
bool IsCsvHeaderRow(std::string_view line);
