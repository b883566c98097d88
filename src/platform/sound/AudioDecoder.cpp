// Sound file reading over libsndfile.
#include "AudioDecoder.h"

#include <sndfile.h>

AudioDecoder::~AudioDecoder()
{
    close();
}

bool AudioDecoder::open(const std::string& path, std::string* error)
{
    close();
    SF_INFO info{};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
    {
        if (error)
            *error = sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1)
    {
        if (error)
            *error = "no audio channels";
        close();
        return false;
    }
    channelCount = info.channels;
    rateHz = info.samplerate;
    frameCount = info.frames;
    return true;
}

void AudioDecoder::close()
{
    if (file)
        sf_close(file);
    file = nullptr;
}

size_t AudioDecoder::read(short* out, size_t maxFrames)
{
    if (!file || maxFrames == 0)
        return 0;
    const sf_count_t got = sf_readf_short(file, out, static_cast<sf_count_t>(maxFrames));
    return got > 0 ? static_cast<size_t>(got) : 0;
}

bool AudioDecoder::rewind()
{
    return file && sf_seek(file, 0, SEEK_SET) == 0;
}

bool AudioDecoder::readAll(std::vector<short>& samples, bool mono)
{
    if (!file)
        return false;
    constexpr size_t kChunkFrames = 16384;
    std::vector<short> interleaved;
    std::vector<short> chunk(kChunkFrames * static_cast<size_t>(channelCount));
    size_t got = 0;
    while ((got = read(chunk.data(), kChunkFrames)) > 0)
        interleaved.insert(interleaved.end(), chunk.begin(), chunk.begin() + got * channelCount);
    samples = mono && channelCount > 1 ? downmixToMono(interleaved, channelCount) : std::move(interleaved);
    return !samples.empty();
}

std::vector<short> AudioDecoder::downmixToMono(const std::vector<short>& interleaved, int channels)
{
    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    std::vector<short> mono(frames);
    for (size_t frame = 0; frame < frames; ++frame)
    {
        int sum = 0;
        for (int channel = 0; channel < channels; ++channel)
            sum += interleaved[frame * channels + channel];
        mono[frame] = static_cast<short>(sum / channels);
    }
    return mono;
}
