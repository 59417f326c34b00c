#include "LineFeeder.h"

#include <algorithm>
#include <cstring>

void TLineFeeder::Deliver(std::string_view line, bool ended) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.empty()) {
        ++FBlankLines;
        return;
    }
    for (; FBlankLines > 0; --FBlankLines) {
        FReader.Line({}, true);
    }
    FReader.Line(line, ended);
}

void TLineFeeder::Feed(std::string_view data) {
    while (!data.empty()) {
        const void* found = std::memchr(data.data(), '\n', data.size());
        const size_t end = found == nullptr
                               ? data.size()
                               : static_cast<size_t>(static_cast<const char*>(found) - data.data());
        const std::string_view piece = data.substr(0, end);
        if (found == nullptr) {
            // The line goes on in the next piece; a line longer than any log's is cut.
            const size_t room = MaxLine - std::min(MaxLine, FPartial.size());
            FOverlong = FOverlong || piece.size() > room;
            FPartial.append(piece.substr(0, room));
            return;
        }
        if (FPartial.empty() && !FOverlong) {
            Deliver(piece, true);
        } else {
            FPartial.append(piece.substr(0, MaxLine - std::min(MaxLine, FPartial.size())));
            Deliver(FPartial, true);
            FPartial.clear();
            FOverlong = false;
        }
        data.remove_prefix(end + 1);
    }
}

void TLineFeeder::Finish() {
    if (!FPartial.empty()) {
        Deliver(FPartial, false);
        FPartial.clear();
    }
    FReader.Finish();
}
