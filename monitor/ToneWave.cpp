#include "ToneWave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

constexpr double FadeSeconds = 0.004;

} // namespace

std::vector<uint8_t> ToneWav(const std::vector<TToneSegment>& segments, int sampleRate,
                             double volume) {
    std::vector<int16_t> samples;
    for (const TToneSegment& segment : segments) {
        const int count = sampleRate * segment.Milliseconds / 1000;
        const int fade = std::max(1, static_cast<int>(FadeSeconds * sampleRate));
        for (int i = 0; i < count; ++i) {
            double v = 0;
            if (segment.FrequencyHz > 0) {
                const double envelope =
                    std::min({1.0, double(i) / fade, double(count - 1 - i) / fade});
                v = volume * envelope *
                    std::sin(2 * std::numbers::pi * segment.FrequencyHz * i / sampleRate);
            }
            samples.push_back(static_cast<int16_t>(std::lround(v * 32767)));
        }
    }
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutLe(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4); // chunk size
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, static_cast<uint32_t>(sampleRate), 4);
    PutLe(out, static_cast<uint32_t>(sampleRate * 2), 4); // bytes per second
    PutLe(out, 2, 2);                                     // bytes per frame
    PutLe(out, 16, 2);                                    // bits per sample
    PutTag(out, "data");
    PutLe(out, dataBytes, 4);
    for (int16_t s : samples) {
        PutLe(out, static_cast<uint16_t>(s), 2);
    }
    return out;
}

std::vector<uint8_t> AlarmToneWav() {
    return ToneWav({{2000, 120}, {0, 60}, {2000, 120}, {0, 400}});
}
