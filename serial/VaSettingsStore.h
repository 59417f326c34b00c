#pragma once
// Where saved line settings would live. The program saves none; the store only keeps its
// four values.
#include <string>

enum TSettingsLocation { slINIFile, slRegistry };
enum TRegRootKey { rrCURRENTUSER, rrLOCALMACHINE };

struct TSettingsStore {
    std::string Key;
    TSettingsLocation Location = slINIFile;
    TRegRootKey RegRoot = rrCURRENTUSER;
    std::string Section;
};
