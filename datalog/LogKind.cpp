#include "LogKind.h"

#include <cctype>

const char* LogKindSuffix(TLogKind kind) {
    switch (kind) {
    case TLogKind::Msl:
        return "msl";
    case TLogKind::Csv:
        return "csv";
    default:
        return "txt";
    }
}

std::optional<TLogKind> LogKindNamed(std::string_view name) {
    std::string lower;
    for (const char c : name) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (TLogKind kind : {TLogKind::Text, TLogKind::Msl, TLogKind::Csv}) {
        if (lower == LogKindSuffix(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

std::optional<TLogKind> LogKindOfPath(std::string_view path) {
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return std::nullopt;
    }
    return LogKindNamed(name.substr(dot + 1));
}
