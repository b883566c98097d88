// Reads a sound file (WAV, Ogg Vorbis, anything libsndfile knows) as 16-bit frames,
// either whole for a decoded sound or piece by piece for a stream.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct sf_private_tag;

class AudioDecoder
{
public:
    AudioDecoder() = default;
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // False, with libsndfile's reason in error, when the file can't be read as sound.
    bool open(const std::string& path, std::string* error);
    void close();

    int channels() const { return channelCount; }
    int sampleRate() const { return rateHz; }
    long long frames() const { return frameCount; }

    // Reads up to maxFrames interleaved frames; returns the frames read, 0 at the end.
    size_t read(short* out, size_t maxFrames);
    bool rewind();

    // The whole file, interleaved; downmixed to one channel when mono is set.
    bool readAll(std::vector<short>& samples, bool mono);

    // Averages the channels of interleaved frames into one.
    static std::vector<short> downmixToMono(const std::vector<short>& interleaved, int channels);

private:
    sf_private_tag* file = nullptr;
    int channelCount = 0;
    int rateHz = 0;
    long long frameCount = 0;
};
