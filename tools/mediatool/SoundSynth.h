// A small seeded synthesiser for the game's sounds and music, and the Ogg Vorbis writer
// that stores them byte for byte the same on every build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth
{
constexpr int kRateHz = 44100;

// The same numbers on every machine (std distributions are not).
class Noise
{
public:
    explicit Noise(uint32_t seed) : state(seed ? seed : 1u) {}
    // Uniform in [-1, 1).
    float next();
    // Uniform integer in [0, count).
    int below(int count) { return static_cast<int>((next() * 0.5f + 0.5f) * count) % count; }

private:
    uint32_t state;
};

// Interleaved samples in [-1, 1]; a loop wraps what runs past its end to its start, so
// the seam has no click.
struct Track
{
    Track(double seconds, int channelCount, bool isLoop);
    size_t frames() const { return samples.size() / channels; }
    // Adds value to frame (wrapped for a loop, dropped past the end otherwise) at pan -1..1.
    void add(long frame, float value, float pan = 0.0f);
    void normalise(float peak);
    // Fades the first and last seconds in and out.
    void fadeEnds(double seconds);

    int channels;
    bool loop;
    std::vector<float> samples;
};

// Frequency of a MIDI note number.
double noteHz(int note);
// Frequency near hz that fits a whole number of periods into frames samples (for loops).
double wholePeriodsHz(double hz, size_t frames);
// One-pole low-pass run twice round a loop, so its state joins at the seam.
void lowPassLoop(std::vector<float>& mono, float cutoffHz);

// Writes the track as Ogg Vorbis; throws std::runtime_error naming the file on failure.
void writeOgg(const std::string& path, const Track& track);
}
