// The sound system over OpenAL.
#include "AudioSystem.h"

#include "AudioBuffer.h"
#include "AudioChannel.h"
#include "AudioContext.h"
#include "AudioStream.h"

#include <AL/al.h>

namespace
{
constexpr float kSpeedOfSoundMetresPerSecond = 343.3f;

// Which busy channel gives up its source first: one-shots, then loops, then streams (music).
int stealRank(const AudioChannel& channel)
{
    const AudioSoundMode& mode = channel.sound()->mode();
    if (mode.stream)
        return 2;
    return mode.loop ? 1 : 0;
}
}

AudioSystem::AudioSystem() : master(this, "master")
{
}

AudioSystem::~AudioSystem()
{
    release();
}

bool AudioSystem::init(int maxChannels, std::string* error)
{
    return start(AudioContext::openDefault(error), maxChannels, error);
}

bool AudioSystem::initLoopback(int maxChannels, int sampleRateHz, std::string* error)
{
    return start(AudioContext::openLoopback(sampleRateHz, error), maxChannels, error);
}

bool AudioSystem::start(std::shared_ptr<AudioContext> opened, int maxChannels, std::string* error)
{
    release();
    if (!opened)
        return false;
    opened->makeCurrent();
    alGetError();
    for (int i = 0; i < maxChannels; ++i)
    {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR)
            break;
        slots.push_back(Slot{source, nullptr});
    }
    if (slots.empty())
    {
        if (error)
            *error = "the sound device gives no sources";
        return false;
    }
    context = std::move(opened);
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alListenerf(AL_GAIN, master.gain());
    return true;
}

void AudioSystem::release()
{
    if (!context)
        return;
    context->makeCurrent();
    for (Slot& slot : slots)
    {
        if (slot.channel)
            slot.channel->detach();
        alDeleteSources(1, &slot.source);
    }
    slots.clear();
    // Buffers still held by sounds keep the context alive until they go.
    context.reset();
}

void AudioSystem::set3DSettings(float dopplerScale, float distanceFactor, float rolloff)
{
    rolloffScale = rolloff;
    if (!context)
        return;
    context->makeCurrent();
    alDopplerFactor(dopplerScale);
    alSpeedOfSound(kSpeedOfSoundMetresPerSecond * distanceFactor);
    for (const Slot& slot : slots)
        if (slot.channel && slot.channel->sound()->mode().is3D)
            alSourcef(slot.source, AL_ROLLOFF_FACTOR, rolloffScale);
}

std::shared_ptr<AudioBuffer> AudioSystem::sharedBuffer(const std::string& path, bool mono, std::string* error)
{
    const std::string key = path + (mono ? "|mono" : "|native");
    if (auto existing = buffers[key].lock())
        return existing;
    auto decoded = AudioBuffer::decode(context, path, mono, error);
    if (decoded)
        buffers[key] = decoded;
    else
        buffers.erase(key);
    return decoded;
}

std::shared_ptr<AudioSound> AudioSystem::createSound(const std::string& path, AudioSoundMode mode, std::string* error)
{
    if (!context)
    {
        if (error)
            *error = "sound is off";
        return nullptr;
    }
    if (mode.stream)
    {
        mode.is3D = false;
        AudioDecoder probe;  // refuse an unreadable stream now, not when it first plays
        if (!probe.open(path, error))
            return nullptr;
        return std::make_shared<AudioSound>(path, mode, nullptr);
    }
    auto buffer = sharedBuffer(path, mode.is3D, error);
    if (!buffer)
        return nullptr;
    return std::make_shared<AudioSound>(path, mode, std::move(buffer));
}

void AudioSystem::reclaimEnded()
{
    for (Slot& slot : slots)
    {
        if (slot.channel && !slot.channel->isPlaying())
        {
            slot.channel->detach();
            slot.channel.reset();
        }
    }
}

int AudioSystem::slotToSteal() const
{
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(slots.size()); ++i)
    {
        const AudioChannel& candidate = *slots[i].channel;
        if (chosen < 0)
        {
            chosen = i;
            continue;
        }
        const AudioChannel& best = *slots[chosen].channel;
        const int rank = stealRank(candidate);
        const int bestRank = stealRank(best);
        if (rank < bestRank || (rank == bestRank && candidate.startOrder < best.startOrder))
            chosen = i;
    }
    return chosen;
}

int AudioSystem::takeSlot()
{
    for (int pass = 0; pass < 2; ++pass)
    {
        for (int i = 0; i < static_cast<int>(slots.size()); ++i)
            if (!slots[i].channel)
                return i;
        if (pass == 0)
            reclaimEnded();
    }
    // Every source is busy: the oldest channel of the lowest rank loses its source.
    const int victim = slotToSteal();
    slots[victim].channel->detach();
    slots[victim].channel.reset();
    return victim;
}

std::shared_ptr<AudioChannel> AudioSystem::playSound(const std::shared_ptr<AudioSound>& sound, bool paused)
{
    if (!context || !sound)
        return nullptr;
    std::unique_ptr<AudioStream> stream;
    if (sound->mode().stream)
    {
        stream = AudioStream::open(context, sound->path(), sound->mode().loop, nullptr);
        if (!stream)
            return nullptr;
    }
    const int slotIndex = takeSlot();
    const ALuint source = slots[slotIndex].source;
    context->makeCurrent();
    const AudioSoundMode& mode = sound->mode();
    alSourcei(source, AL_BUFFER, 0);
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcef(source, AL_GAIN, 1.0f);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    // A 2D sound sits on the listener and does not fade with distance.
    alSourcei(source, AL_SOURCE_RELATIVE, mode.is3D ? AL_FALSE : AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, mode.is3D ? rolloffScale : 0.0f);
    alSourcef(source, AL_REFERENCE_DISTANCE, sound->minDistance());
    alSourcef(source, AL_MAX_DISTANCE, sound->maxDistance());
    if (stream)
    {
        alSourcei(source, AL_LOOPING, AL_FALSE);
        stream->start(source);
    }
    else
    {
        alSourcei(source, AL_LOOPING, mode.loop ? AL_TRUE : AL_FALSE);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(sound->buffer()->name()));
    }
    std::shared_ptr<AudioChannel> channel(new AudioChannel(this, sound, source, std::move(stream), ++playCounter));
    channel->paused = paused;
    slots[slotIndex].channel = channel;
    if (!paused)
        alSourcePlay(source);
    return channel;
}

AudioChannelGroup* AudioSystem::getChannelGroup(const std::string& name)
{
    auto& group = groups[name];
    if (!group)
        group = std::make_unique<AudioChannelGroup>(this, name);
    return group.get();
}

void AudioSystem::applyGroupGain(AudioChannelGroup* group)
{
    if (!context)
        return;
    context->makeCurrent();
    if (group == &master)
    {
        alListenerf(AL_GAIN, master.gain());
        return;
    }
    for (const Slot& slot : slots)
        if (slot.channel && slot.channel->getChannelGroup() == group)
            slot.channel->applyGain();
}

void AudioSystem::set3DListenerAttributes(const AudioVector& position, const AudioVector& velocity,
                                          const AudioVector& forward, const AudioVector& up)
{
    if (!context)
        return;
    context->makeCurrent();
    alListener3f(AL_POSITION, position.x, position.y, position.z);
    alListener3f(AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    const ALfloat orientation[] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
    alListenerfv(AL_ORIENTATION, orientation);
}

void AudioSystem::update()
{
    if (!context)
        return;
    for (Slot& slot : slots)
        if (slot.channel && slot.channel->stream)
            slot.channel->stream->pump(slot.source, slot.channel->paused);
    reclaimEnded();
}

void AudioSystem::releaseChannel(AudioChannel* channel)
{
    for (Slot& slot : slots)
    {
        if (slot.channel.get() == channel)
        {
            auto keepAlive = std::move(slot.channel);  // detach before the last reference may go
            keepAlive->detach();
            return;
        }
    }
    channel->detach();
}

void AudioSystem::renderSamples(float* interleavedStereo, int frames)
{
    if (context)
        context->renderSamples(interleavedStereo, frames);
}

int AudioSystem::busySourceCount() const
{
    int busy = 0;
    for (const Slot& slot : slots)
        busy += slot.channel ? 1 : 0;
    return busy;
}
