#pragma once
// Quoted text in number and date pictures: what stands between matching ' or " quotes is
// copied as written; an unclosed quote runs to the end of the picture.
#include <cstddef>
#include <string>

namespace formatting {

bool IsQuote(char c);

// The text quoted by the quote at picture[at]; `next` receives the index after the
// closing quote (past the end when there is none).
std::string QuotedText(const std::string& picture, size_t at, size_t& next);

// Follows a picture character by character.
class TQuoteState {
public:
    // Whether `c` belongs to quoted text, the quotes included.
    bool Quoted(char c);

private:
    char Open = 0;
};

} // namespace formatting
