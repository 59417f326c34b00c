#pragma once
// The log formats: the program's own text log (".txt"), the tab-separated MSL log that log
// viewers open (".msl"), and CSV for spreadsheets (".csv").
#include <optional>
#include <string>
#include <string_view>

enum class TLogKind { Text, Msl, Csv };

// "txt", "msl", "csv".
const char* LogKindSuffix(TLogKind kind);
// The kind named "txt", "msl" or "csv" (any case); nothing for another name.
std::optional<TLogKind> LogKindNamed(std::string_view name);
// The kind a file name's suffix names; nothing when it names none of them.
std::optional<TLogKind> LogKindOfPath(std::string_view path);
