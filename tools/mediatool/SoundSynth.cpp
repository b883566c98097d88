// The media builder's synthesiser and Ogg writer.
#include "SoundSynth.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace synth
{
float Noise::next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

Track::Track(double seconds, int channelCount, bool isLoop)
    : channels(channelCount), loop(isLoop), samples(static_cast<size_t>(std::lround(seconds * kRateHz)) * channelCount)
{
}

void Track::add(long frame, float value, float pan)
{
    const long count = static_cast<long>(frames());
    if (loop)
        frame = ((frame % count) + count) % count;
    if (frame < 0 || frame >= count)
        return;
    if (channels == 1)
    {
        samples[frame] += value;
        return;
    }
    // Equal-power pan.
    const float angle = (pan + 1.0f) * 0.25f * static_cast<float>(M_PI);
    samples[frame * 2] += value * std::cos(angle);
    samples[frame * 2 + 1] += value * std::sin(angle);
}

void Track::normalise(float peak)
{
    float highest = 0.0f;
    for (float s : samples)
        highest = std::max(highest, std::fabs(s));
    if (highest > 0.0f)
        for (float& s : samples)
            s *= peak / highest;
}

void Track::fadeEnds(double seconds)
{
    const size_t fadeFrames = std::min(frames() / 2, static_cast<size_t>(seconds * kRateHz));
    for (size_t i = 0; i < fadeFrames; ++i)
    {
        const float gain = static_cast<float>(i) / fadeFrames;
        for (int c = 0; c < channels; ++c)
        {
            samples[i * channels + c] *= gain;
            samples[(frames() - 1 - i) * channels + c] *= gain;
        }
    }
}

double noteHz(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

double wholePeriodsHz(double hz, size_t frames)
{
    const double seconds = double(frames) / kRateHz;
    return std::max(1.0, std::round(hz * seconds)) / seconds;
}

void lowPassLoop(std::vector<float>& mono, float cutoffHz)
{
    const float alpha = 1.0f - std::exp(-2.0f * static_cast<float>(M_PI) * cutoffHz / kRateHz);
    float state = 0.0f;
    for (int pass = 0; pass < 2; ++pass)
        for (float& s : mono)
        {
            state += alpha * (s - state);
            if (pass == 1)
                s = state;
        }
}

namespace
{
uint32_t oggCrc(const unsigned char* data, size_t size)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i)
    {
        crc ^= static_cast<uint32_t>(data[i]) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04c11db7u : crc << 1;
    }
    return crc;
}

// libsndfile gives each Ogg stream a random serial number: pin it so builds are identical.
void pinSerialNumber(const std::string& path)
{
    constexpr uint32_t kSerial = 0x51554c4du;
    std::vector<unsigned char> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    size_t page = 0;
    while (page + 27 <= bytes.size() && std::equal(bytes.begin() + page, bytes.begin() + page + 4, "OggS"))
    {
        const size_t segments = bytes[page + 26];
        size_t size = 27 + segments;
        for (size_t s = 0; s < segments && page + 27 + s < bytes.size(); ++s)
            size += bytes[page + 27 + s];
        if (page + size > bytes.size())
            throw std::runtime_error(path + ": truncated Ogg page");
        for (int i = 0; i < 4; ++i)
        {
            bytes[page + 14 + i] = static_cast<unsigned char>(kSerial >> (8 * i));
            bytes[page + 22 + i] = 0;
        }
        const uint32_t crc = oggCrc(bytes.data() + page, size);
        for (int i = 0; i < 4; ++i)
            bytes[page + 22 + i] = static_cast<unsigned char>(crc >> (8 * i));
        page += size;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}
}

void writeOgg(const std::string& path, const Track& track)
{
    SF_INFO info{};
    info.samplerate = kRateHz;
    info.channels = track.channels;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    double quality = 0.5;
    sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof(quality));
    const sf_count_t frames = static_cast<sf_count_t>(track.frames());
    // Small writes: libvorbis overflows its stack on one very large block.
    constexpr sf_count_t kChunkFrames = 4096;
    sf_count_t written = 0;
    while (written < frames)
    {
        const sf_count_t count = std::min(kChunkFrames, frames - written);
        const sf_count_t done = sf_writef_float(file, track.samples.data() + written * track.channels, count);
        if (done != count)
            break;
        written += done;
    }
    sf_close(file);
    if (written != frames)
        throw std::runtime_error("cannot write " + path + ": disk full?");
    pinSerialNumber(path);
}
}
