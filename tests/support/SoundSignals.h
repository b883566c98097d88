// Test signals for the sound tests: writes tone files and measures rendered sound.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace soundtest
{
constexpr int kRateHz = 44100;

// Writes a 16-bit WAV (or Ogg Vorbis when the name ends in ".ogg") of seconds length whose
// sample at time t (seconds) of each channel is signal(t, channel), in [-1, 1].
void writeSignal(const std::string& path, double seconds, int channels,
                 const std::function<double(double, int)>& signal);
// A sine of frequencyHz at amplitude on every channel.
void writeTone(const std::string& path, double frequencyHz, double seconds, int channels = 1,
               double amplitude = 0.5);

// Interleaved stereo frames as the loopback device renders them.
struct Stereo
{
    std::vector<float> samples;
    size_t frames() const { return samples.size() / 2; }
    float at(size_t frame, int channel) const { return samples[frame * 2 + channel]; }
};

// Root mean square of one channel over [first, first + count) frames.
double rms(const Stereo& sound, int channel, size_t first = 0, size_t count = 0);
// Rising zero crossings of one channel.
int risingZeroCrossings(const Stereo& sound, int channel);
}
