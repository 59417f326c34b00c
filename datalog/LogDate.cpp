#include "LogDate.h"

#include <array>
#include <cctype>
#include <chrono>
#include <string>
#include <vector>

#include "LogNumbers.h"

namespace {

// A piece of a date: a run of digits, a run of letters, or the text between them.
struct TDateToken {
    enum TKind { Digits, Letters, Separator } Kind = Separator;
    std::string Text;
};

// A piece of a date picture: a field or the separator text between fields.
struct TPictureToken {
    enum TKind { Day, Month, MonthName, Year, DayName, Separator } Kind = Separator;
    int MinDigits = 0;
    int MaxDigits = 0;
    std::string Text; // separator
};

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

std::vector<TDateToken> SplitDate(std::string_view text) {
    std::vector<TDateToken> tokens;
    for (const char c : TrimSpace(text)) {
        const TDateToken::TKind kind = IsDigit(c)    ? TDateToken::Digits
                                       : IsLetter(c) ? TDateToken::Letters
                                                     : TDateToken::Separator;
        if (tokens.empty() || tokens.back().Kind != kind) {
            tokens.push_back({kind, {}});
        }
        tokens.back().Text += c;
    }
    return tokens;
}

void AddSeparator(std::vector<TPictureToken>& tokens, const std::string& text) {
    if (tokens.empty() || tokens.back().Kind != TPictureToken::Separator) {
        tokens.push_back({TPictureToken::Separator, 0, 0, {}});
    }
    tokens.back().Text += text;
}

// The picture's fields in order; '/' stands for `dateSeparator`.
std::vector<TPictureToken> SplitPicture(std::string_view picture, char dateSeparator) {
    std::vector<TPictureToken> tokens;
    picture = TrimSpace(picture);
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '"' || c == '\'') {
            const size_t close = picture.find(c, i + 1);
            const size_t end = close == std::string_view::npos ? picture.size() : close;
            AddSeparator(tokens, std::string(picture.substr(i + 1, end - i - 1)));
            i = end == picture.size() ? end : end + 1;
            continue;
        }
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t run = 1;
        while (i + run < picture.size() &&
               std::tolower(static_cast<unsigned char>(picture[i + run])) == lower) {
            ++run;
        }
        i += run;
        const int n = static_cast<int>(run);
        if (lower == 'd') {
            tokens.push_back(n > 2 ? TPictureToken{TPictureToken::DayName, 0, 0, {}}
                                   : TPictureToken{TPictureToken::Day, n, 2, {}});
        } else if (lower == 'm') {
            tokens.push_back(n > 2 ? TPictureToken{TPictureToken::MonthName, 0, 0, {}}
                                   : TPictureToken{TPictureToken::Month, n, 2, {}});
        } else if (lower == 'y') {
            const int digits = n > 2 ? 4 : 2;
            tokens.push_back({TPictureToken::Year, digits, digits, {}});
        } else {
            AddSeparator(tokens, std::string(run, c == '/' ? dateSeparator : c));
        }
    }
    return tokens;
}

// The month of an English month name or its first three letters; 0 for none.
int MonthNamed(const std::string& text) {
    static const std::array<const char*, 12> names = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (text.size() < 3) {
        return 0;
    }
    std::string upper;
    for (size_t i = 0; i < 3; ++i) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    }
    for (size_t month = 0; month < names.size(); ++month) {
        if (upper == names[month]) {
            return static_cast<int>(month) + 1;
        }
    }
    return 0;
}

bool RealDate(const TLogDate& date) {
    const std::chrono::year_month_day ymd{std::chrono::year(date.Year),
                                          std::chrono::month(static_cast<unsigned>(date.Month)),
                                          std::chrono::day(static_cast<unsigned>(date.Day))};
    return ymd.ok();
}

// The date `text` gives when read in `picture`, if its shape fits the picture.
std::optional<TLogDate> ReadInPicture(const std::vector<TDateToken>& text,
                                      const std::vector<TPictureToken>& picture) {
    if (text.size() != picture.size()) {
        return std::nullopt;
    }
    TLogDate date;
    bool hasDay = false;
    bool hasMonth = false;
    bool hasYear = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const TDateToken& t = text[i];
        const TPictureToken& p = picture[i];
        const int digits = static_cast<int>(t.Text.size());
        switch (p.Kind) {
        case TPictureToken::Separator:
            if (t.Kind != TDateToken::Separator || TrimSpace(t.Text) != TrimSpace(p.Text)) {
                return std::nullopt;
            }
            break;
        case TPictureToken::DayName:
            if (t.Kind != TDateToken::Letters) {
                return std::nullopt;
            }
            break;
        case TPictureToken::MonthName:
            date.Month = t.Kind == TDateToken::Letters ? MonthNamed(t.Text) : 0;
            hasMonth = date.Month > 0;
            if (!hasMonth) {
                return std::nullopt;
            }
            break;
        default:
            if (t.Kind != TDateToken::Digits || digits < p.MinDigits || digits > p.MaxDigits) {
                return std::nullopt;
            }
            const int value = std::stoi(t.Text);
            if (p.Kind == TPictureToken::Day) {
                date.Day = value;
                hasDay = true;
            } else if (p.Kind == TPictureToken::Month) {
                date.Month = value;
                hasMonth = true;
            } else {
                date.Year = digits == 2 ? 2000 + value : value;
                hasYear = true;
            }
        }
    }
    if (!hasDay || !hasMonth || !hasYear || !RealDate(date)) {
        return std::nullopt;
    }
    return date;
}

// Short-date formats in common use. Where two read the same shape differently, a padded
// day first ("03/04/2024") is taken as day/month, an unpadded one ("3/4/2024") as month/day;
// a field above 12 settles it either way.
constexpr std::array<const char*, 15> CommonPictures = {
    "yyyy-mm-dd",  "yyyy/mm/dd", "dd.mm.yyyy", "d.m.yyyy", "dd/mm/yyyy",
    "m/d/yyyy",    "d/m/yyyy",   "dd-mm-yyyy", "d-m-yyyy", "d mmm yyyy",
    "mmm d, yyyy", "mmm d yyyy", "dd.mm.yy",   "m/d/yy",   "d/m/yy"};

} // namespace

std::optional<TLogDate> ReadLogDate(std::string_view text, const TRegionalSettings& rs) {
    const std::vector<TDateToken> tokens = SplitDate(text);
    if (tokens.empty()) {
        return std::nullopt;
    }
    if (auto own = ReadInPicture(tokens, SplitPicture(rs.ShortDateFormat, rs.DateSeparator))) {
        return own;
    }
    for (const char* picture : CommonPictures) {
        if (auto date = ReadInPicture(tokens, SplitPicture(picture, '/'))) {
            return date;
        }
    }
    return std::nullopt;
}

TLogDate AddDays(const TLogDate& date, int days) {
    using namespace std::chrono;
    const sys_days start = year_month_day{year(date.Year), month(static_cast<unsigned>(date.Month)),
                                          day(static_cast<unsigned>(date.Day))};
    const year_month_day shifted{start + std::chrono::days(days)};
    return {static_cast<int>(shifted.year()),
            static_cast<int>(static_cast<unsigned>(shifted.month())),
            static_cast<int>(static_cast<unsigned>(shifted.day()))};
}
