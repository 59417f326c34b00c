#include "format/PictureSection.h"

#include "format/PictureQuoting.h"

namespace formatting {

namespace {

bool IsExponentMark(const std::string& s, size_t i) {
    return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

void AddLiteral(std::vector<TToken>& tokens, const std::string& text) {
    if (!tokens.empty() && tokens.back().Kind == TTokenKind::Literal) {
        tokens.back().Text += text;
    } else {
        tokens.push_back({TTokenKind::Literal, text});
    }
}

// Reads the exponent at s[i] ("E+00"), returns the index after it.
size_t ReadExponent(const std::string& s, size_t i, TSection& section) {
    size_t j = i + 2;
    while (j < s.size() && s[j] == '0') {
        ++j;
    }
    TToken token{TTokenKind::Exponent, std::string(1, s[i])};
    token.PlusSign = s[i + 1] == '+';
    token.ExpDigits = static_cast<int>(j - (i + 2));
    section.Tokens.push_back(token);
    section.Scientific = true;
    return j;
}

// One unquoted character outside an exponent mark. Digit places and the point after the
// exponent are dropped; ',' before the point asks for grouping.
void AddCharacter(char c, bool& afterPoint, TSection& section) {
    if ((c == '0' || c == '#') && !section.Scientific) {
        const auto kind = afterPoint ? TTokenKind::FractionDigit : TTokenKind::IntegerDigit;
        section.Tokens.push_back({kind, std::string(1, c)});
    } else if (c == '.' && !section.Scientific) {
        if (!afterPoint) {
            section.Tokens.push_back({TTokenKind::Point, ""});
            afterPoint = true;
        }
    } else if (c == ',') {
        section.Grouped = section.Grouped || !afterPoint;
    } else if (c != '0' && c != '#' && c != '.') {
        AddLiteral(section.Tokens, std::string(1, c));
    }
}

void Tokenize(const std::string& s, TSection& section) {
    bool afterPoint = false;
    size_t i = 0;
    while (i < s.size()) {
        if (IsQuote(s[i])) {
            AddLiteral(section.Tokens, QuotedText(s, i, i));
        } else if (!section.Scientific && IsExponentMark(s, i)) {
            i = ReadExponent(s, i, section);
        } else {
            AddCharacter(s[i++], afterPoint, section);
        }
    }
}

void CountPlaces(TSection& section) {
    int firstIntegerZero = -1;
    for (const TToken& t : section.Tokens) {
        if (t.Kind == TTokenKind::IntegerDigit) {
            if (t.Text == "0" && firstIntegerZero < 0) {
                firstIntegerZero = section.IntPlaces;
            }
            ++section.IntPlaces;
        } else if (t.Kind == TTokenKind::FractionDigit) {
            ++section.MaxDecimals;
            if (t.Text == "0") {
                section.MinDecimals = section.MaxDecimals;
            }
        }
    }
    section.MinInteger = firstIntegerZero < 0 ? 0 : section.IntPlaces - firstIntegerZero;
}

} // namespace

std::vector<std::string> SplitSections(const std::string& picture) {
    std::vector<std::string> sections(1);
    TQuoteState quotes;
    for (char c : picture) {
        if (!quotes.Quoted(c) && c == ';') {
            if (sections.size() == 3) {
                break;
            }
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

bool HasSection(const std::vector<std::string>& sections, size_t index) {
    return sections.size() > index && !sections[index].empty();
}

TSection AnalyseSection(const std::string& text) {
    TSection section;
    Tokenize(text, section);
    CountPlaces(section);
    return section;
}

} // namespace formatting
