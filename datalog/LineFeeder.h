#pragma once
// Cuts a file's bytes, arriving in pieces of any size, into lines for a log reader: line ends
// LF or CR LF removed, a line too long to be a log's cut to its start (the rest is dropped),
// and blank lines passed on only when a line follows them, so blank lines at the end of a
// file are no error.
#include <cstddef>
#include <string>
#include <string_view>

#include "LogReading.h"

class TLineFeeder {
public:
    static constexpr size_t MaxLine = 64 * 1024;

    explicit TLineFeeder(TLogFormatReader& reader) : FReader(reader) {}
    void Feed(std::string_view data);
    // The last line if it had no line end, then the reader's Finish.
    void Finish();

private:
    void Deliver(std::string_view line, bool ended);

    TLogFormatReader& FReader;
    std::string FPartial;
    bool FOverlong = false;
    size_t FBlankLines = 0;
};
