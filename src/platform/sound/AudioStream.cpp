// Streaming through a buffer queue.
#include "AudioStream.h"

#include "AudioContext.h"

#include <AL/al.h>

std::unique_ptr<AudioStream> AudioStream::open(const std::shared_ptr<AudioContext>& context,
                                               const std::string& path, bool loop, std::string* error)
{
    std::unique_ptr<AudioStream> stream(new AudioStream());
    if (!stream->decoder.open(path, error))
        return nullptr;
    stream->context = context;
    stream->loop = loop;
    stream->outputChannels = stream->decoder.channels() == 2 ? 2 : 1;
    stream->buffers.resize(kBufferCount);
    context->makeCurrent();
    alGenBuffers(kBufferCount, stream->buffers.data());
    return stream;
}

AudioStream::~AudioStream()
{
    if (!buffers.empty())
    {
        context->makeCurrent();
        alDeleteBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
    }
}

bool AudioStream::fill(unsigned buffer)
{
    if (ended)
        return false;
    const int fileChannels = decoder.channels();
    const size_t wantFrames = static_cast<size_t>(decoder.sampleRate() * kBufferSeconds);
    scratch.resize(wantFrames * fileChannels);
    size_t haveFrames = 0;
    // A loop rewinds inside the same buffer, so the seam has no gap.
    while (haveFrames < wantFrames)
    {
        const size_t got = decoder.read(scratch.data() + haveFrames * fileChannels, wantFrames - haveFrames);
        haveFrames += got;
        if (got == 0)
        {
            if (!loop || decoder.frames() == 0 || !decoder.rewind())
            {
                ended = true;
                break;
            }
        }
    }
    if (haveFrames == 0)
        return false;
    scratch.resize(haveFrames * fileChannels);
    const std::vector<short>& samples =
        fileChannels == outputChannels ? scratch : AudioDecoder::downmixToMono(scratch, fileChannels);
    alBufferData(buffer, audioFormatFor(outputChannels), samples.data(),
                 static_cast<ALsizei>(samples.size() * sizeof(short)), decoder.sampleRate());
    return true;
}

void AudioStream::start(unsigned source)
{
    context->makeCurrent();
    for (unsigned buffer : buffers)
        if (fill(buffer))
            alSourceQueueBuffers(source, 1, &buffer);
}

void AudioStream::pump(unsigned source, bool paused)
{
    context->makeCurrent();
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0)
    {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        if (fill(buffer))
            alSourceQueueBuffers(source, 1, &buffer);
    }
    ALint state = 0;
    ALint queued = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (!paused && state == AL_STOPPED && queued > 0)
        alSourcePlay(source);
}

bool AudioStream::finished(unsigned source) const
{
    if (!ended)
        return false;
    context->makeCurrent();
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_STOPPED;
}

void AudioStream::detach(unsigned source)
{
    context->makeCurrent();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
}
