// Test signals for the sound layer.
#include "support/SoundSignals.h"

#include <sndfile.h>

#include <cmath>
#include <stdexcept>

namespace soundtest
{
void writeSignal(const std::string& path, double seconds, int channels,
                 const std::function<double(double, int)>& signal)
{
    const bool ogg = path.size() > 4 && path.compare(path.size() - 4, 4, ".ogg") == 0;
    SF_INFO info{};
    info.samplerate = kRateHz;
    info.channels = channels;
    info.format = ogg ? (SF_FORMAT_OGG | SF_FORMAT_VORBIS) : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path);
    const long frames = std::lround(seconds * kRateHz);
    std::vector<float> samples(static_cast<size_t>(frames) * channels);
    for (long frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel)
            samples[frame * channels + channel] = static_cast<float>(signal(double(frame) / kRateHz, channel));
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
}

void writeTone(const std::string& path, double frequencyHz, double seconds, int channels, double amplitude)
{
    writeSignal(path, seconds, channels,
                [&](double t, int) { return amplitude * std::sin(2.0 * M_PI * frequencyHz * t); });
}

double rms(const Stereo& sound, int channel, size_t first, size_t count)
{
    const size_t last = count ? std::min(sound.frames(), first + count) : sound.frames();
    double sum = 0.0;
    for (size_t frame = first; frame < last; ++frame)
        sum += double(sound.at(frame, channel)) * sound.at(frame, channel);
    return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
}

int risingZeroCrossings(const Stereo& sound, int channel)
{
    int crossings = 0;
    for (size_t frame = 1; frame < sound.frames(); ++frame)
        if (sound.at(frame - 1, channel) < 0.0f && sound.at(frame, channel) >= 0.0f)
            ++crossings;
    return crossings;
}
}
