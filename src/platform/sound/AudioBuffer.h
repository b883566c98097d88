// One decoded sound file in an OpenAL buffer. Shared by every sound and channel that
// plays the file, so a file is decoded once however often it is played.
#pragma once

#include <memory>
#include <string>

class AudioContext;

class AudioBuffer
{
public:
    // Decodes the whole file; mono downmixes it (3D sounds need one channel).
    // Null, with the reason in error, when the file can't be read.
    static std::shared_ptr<AudioBuffer> decode(const std::shared_ptr<AudioContext>& context, const std::string& path,
                                               bool mono, std::string* error);
    ~AudioBuffer();
    AudioBuffer(const AudioBuffer&) = delete;
    AudioBuffer& operator=(const AudioBuffer&) = delete;

    unsigned name() const { return bufferName; }
    int channels() const { return channelCount; }
    int sampleRate() const { return rateHz; }
    long long frames() const { return frameCount; }

private:
    AudioBuffer() = default;

    std::shared_ptr<AudioContext> context;
    unsigned bufferName = 0;
    int channelCount = 0;
    int rateHz = 0;
    long long frameCount = 0;
};
