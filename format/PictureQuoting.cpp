#include "format/PictureQuoting.h"

namespace formatting {

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string QuotedText(const std::string& picture, size_t at, size_t& next) {
    const size_t close = picture.find(picture[at], at + 1);
    const size_t end = close == std::string::npos ? picture.size() : close;
    next = end + 1;
    return picture.substr(at + 1, end - at - 1);
}

bool TQuoteState::Quoted(char c) {
    if (Open != 0) {
        Open = c == Open ? 0 : Open;
        return true;
    }
    if (IsQuote(c)) {
        Open = c;
        return true;
    }
    return false;
}

} // namespace formatting
