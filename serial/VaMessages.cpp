#include "VaMessages.h"

#include <cstring>

std::string VaFormat(const std::string& pattern, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char d = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '%' && d == '%') {
            out += '%';
            ++i;
        } else if (c == '%' && (d == 'd' || d == 's') && next != args.end()) {
            out += *next++;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string VaSysErrorMessage(int code) {
    char buf[256];
    // GNU strerror_r returns the text, which may or may not be in `buf`.
    return strerror_r(code, buf, sizeof buf);
}

std::string VaErrorMessage(const std::string& pattern, int code) {
    return VaFormat(pattern, {std::to_string(code), VaSysErrorMessage(code)});
}
