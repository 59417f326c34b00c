#pragma once
// The alarm's tone, made by the program: 16-bit mono PCM in a WAV file image, so no sound
// file has to be shipped. The pattern is two short high beeps and a pause; repeated, it
// stands out over engine noise without being mistaken for a phone.
#include <cstdint>
#include <vector>

struct TToneSegment {
    double FrequencyHz = 0; // 0: silence
    int Milliseconds = 0;
};

inline constexpr int ToneSampleRate = 22050;

// WAV bytes (RIFF header, "fmt " and "data" chunks) of the segments in order. Each beep
// fades in and out over a few milliseconds so it starts and ends without a click.
std::vector<uint8_t> ToneWav(const std::vector<TToneSegment>& segments,
                             int sampleRate = ToneSampleRate, double volume = 0.6);

// The alarm pattern: about 0.7 s, meant to be repeated.
std::vector<uint8_t> AlarmToneWav();
