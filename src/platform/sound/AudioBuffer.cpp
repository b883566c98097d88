// Decoded sound data in an OpenAL buffer.
#include "AudioBuffer.h"

#include "AudioContext.h"
#include "AudioDecoder.h"

#include <AL/al.h>

#include <vector>

std::shared_ptr<AudioBuffer> AudioBuffer::decode(const std::shared_ptr<AudioContext>& context,
                                                 const std::string& path, bool mono, std::string* error)
{
    AudioDecoder decoder;
    if (!decoder.open(path, error))
        return nullptr;
    std::vector<short> samples;
    // More than two channels has no OpenAL 16-bit format: those files are played mono.
    const bool downmix = mono || decoder.channels() > 2;
    if (!decoder.readAll(samples, downmix))
    {
        if (error)
            *error = "no samples";
        return nullptr;
    }
    std::shared_ptr<AudioBuffer> buffer(new AudioBuffer());
    buffer->context = context;
    buffer->channelCount = downmix ? 1 : decoder.channels();
    buffer->rateHz = decoder.sampleRate();
    buffer->frameCount = static_cast<long long>(samples.size()) / buffer->channelCount;
    context->makeCurrent();
    alGetError();
    alGenBuffers(1, &buffer->bufferName);
    alBufferData(buffer->bufferName, audioFormatFor(buffer->channelCount), samples.data(),
                 static_cast<ALsizei>(samples.size() * sizeof(short)), buffer->rateHz);
    if (alGetError() != AL_NO_ERROR)
    {
        if (error)
            *error = "OpenAL refused the sound data";
        return nullptr;
    }
    return buffer;
}

AudioBuffer::~AudioBuffer()
{
    if (bufferName)
    {
        context->makeCurrent();
        alDeleteBuffers(1, &bufferName);
    }
}
