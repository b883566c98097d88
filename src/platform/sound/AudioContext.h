// An OpenAL device with its context, shared by everything that holds OpenAL names
// (sources, buffers), so the last of them to go still finds its context.
#pragma once

#include <memory>
#include <string>

struct ALCdevice_struct;
struct ALCcontext_struct;

class AudioContext
{
public:
    // The default output device; null (with the reason in error) when there is none.
    static std::shared_ptr<AudioContext> openDefault(std::string* error);
    // Renders into memory (stereo float at sampleRateHz) instead of a device, for measuring.
    static std::shared_ptr<AudioContext> openLoopback(int sampleRateHz, std::string* error);

    ~AudioContext();
    AudioContext(const AudioContext&) = delete;
    AudioContext& operator=(const AudioContext&) = delete;

    // Makes this the current OpenAL context; cheap when it already is.
    void makeCurrent() const;
    bool isLoopback() const { return loopback; }
    // Mixes the next frames of a loopback context into interleaved stereo floats.
    void renderSamples(float* interleavedStereo, int frames) const;

private:
    AudioContext() = default;
    bool attachContext(const int* attributes, std::string* error);

    ALCdevice_struct* device = nullptr;
    ALCcontext_struct* context = nullptr;
    bool loopback = false;
};

// OpenAL format of 16-bit samples with this many channels (1 or 2).
int audioFormatFor(int channels);
