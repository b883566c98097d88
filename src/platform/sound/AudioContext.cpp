// OpenAL device and context.
#include "AudioContext.h"

#include "StderrCapture.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

std::shared_ptr<AudioContext> AudioContext::openDefault(std::string* error)
{
    std::shared_ptr<AudioContext> result(new AudioContext());
    // Without a sound card the drivers print a page of complaints: it belongs in the log.
    StderrCapture driverMessages;
    result->device = alcOpenDevice(nullptr);
    const bool opened = result->device && result->attachContext(nullptr, error);
    const std::string said = driverMessages.finish();
    if (!result->device && error)
        *error = "no sound device";
    if (!opened)
    {
        if (error && !said.empty())
            *error += "; the sound drivers said:\n" + (said.back() == '\n' ? said.substr(0, said.size() - 1) : said);
        return nullptr;
    }
    return result;
}

std::shared_ptr<AudioContext> AudioContext::openLoopback(int sampleRateHz, std::string* error)
{
    auto openLoopbackDevice =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (!openLoopbackDevice)
    {
        if (error)
            *error = "no loopback device (ALC_SOFT_loopback missing)";
        return nullptr;
    }
    std::shared_ptr<AudioContext> result(new AudioContext());
    result->loopback = true;
    result->device = openLoopbackDevice(nullptr);
    if (!result->device)
    {
        if (error)
            *error = "loopback device refused";
        return nullptr;
    }
    const int attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                              ALC_FREQUENCY, sampleRateHz, ALC_HRTF_SOFT, ALC_FALSE, 0};
    if (!result->attachContext(attributes, error))
        return nullptr;
    return result;
}

bool AudioContext::attachContext(const int* attributes, std::string* error)
{
    context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context))
    {
        if (error)
            *error = "no OpenAL context on the sound device";
        return false;
    }
    return true;
}

AudioContext::~AudioContext()
{
    if (context)
    {
        if (alcGetCurrentContext() == context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device)
        alcCloseDevice(device);
}

void AudioContext::makeCurrent() const
{
    if (alcGetCurrentContext() != context)
        alcMakeContextCurrent(context);
}

void AudioContext::renderSamples(float* interleavedStereo, int frames) const
{
    auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device, "alcRenderSamplesSOFT"));
    if (loopback && render)
    {
        makeCurrent();
        render(device, interleavedStereo, frames);
    }
}

int audioFormatFor(int channels)
{
    return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
}
