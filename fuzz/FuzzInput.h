#pragma once
// What the fuzz targets share: typed reads from the front of an input, the regional settings a
// user can have, and the check that stops a run when an invariant does not hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "format/Regional.h"

// Stops the run with a message. libFuzzer keeps the input that did it; the replay test fails.
// Active in every build type (assert is not).
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Reads from the front of an input. Reads past the end give zeros, so every input, however
// short, is a whole case.
class TFuzzInput {
public:
    TFuzzInput(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

    bool AtEnd() const { return FPos >= FSize; }
    uint8_t Byte() { return AtEnd() ? 0 : FData[FPos++]; }
    // Eight bytes, low first, as the bits of a double: every double, NaNs and subnormals too.
    double Double() {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) {
            bits |= static_cast<uint64_t>(Byte()) << (8 * i);
        }
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string Rest() {
        const size_t from = AtEnd() ? FSize : FPos;
        FPos = FSize;
        return std::string(reinterpret_cast<const char*>(FData + from), FSize - from);
    }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
};

// The separators the system locale can give: a point or comma decimal, and between thousands
// a comma, point, space or apostrophe, never the decimal separator itself.
inline TRegionalSettings FuzzRegionalSettings(uint8_t choice) {
    static constexpr char Pairs[][2] = {{'.', ','}, {'.', ' '}, {'.', '\''},
                                        {',', '.'}, {',', ' '}, {',', '\''}};
    const auto& pair = Pairs[choice % (sizeof Pairs / sizeof Pairs[0])];
    TRegionalSettings rs = pair[0] == '.' ? EnglishRegionalSettings() : CommaRegionalSettings();
    rs.DecimalSeparator = pair[0];
    rs.ThousandSeparator = pair[1];
    return rs;
}
