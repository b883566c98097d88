// A playing instance of a sound.
#include "AudioChannel.h"

#include "AudioChannelGroup.h"
#include "AudioContext.h"
#include "AudioSound.h"
#include "AudioStream.h"
#include "AudioSystem.h"

#include <AL/al.h>

#include <algorithm>

namespace
{
constexpr float kMinPitch = 0.01f;   // OpenAL needs a pitch above 0
constexpr float kMaxPitch = 10.0f;
}

AudioChannel::AudioChannel(AudioSystem* system, std::shared_ptr<AudioSound> sound, unsigned source,
                           std::unique_ptr<AudioStream> feeder, unsigned long long order)
    : owner(system), playedSound(std::move(sound)), sourceName(source), stream(std::move(feeder)), startOrder(order)
{
}

AudioChannel::~AudioChannel() = default;

void AudioChannel::makeCurrent() const
{
    owner->context->makeCurrent();
}

bool AudioChannel::isPlaying() const
{
    if (!sourceName)
        return false;
    if (paused)
        return true;
    makeCurrent();
    if (stream)
        return !stream->finished(sourceName);
    ALint state = 0;
    alGetSourcei(sourceName, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING || state == AL_INITIAL;
}

void AudioChannel::setPaused(bool pause)
{
    if (!sourceName || pause == paused)
        return;
    paused = pause;
    makeCurrent();
    if (pause)
        alSourcePause(sourceName);
    else
        alSourcePlay(sourceName);
}

void AudioChannel::stop()
{
    if (sourceName)
        owner->releaseChannel(this);
}

void AudioChannel::detach()
{
    if (!sourceName)
        return;
    makeCurrent();
    alSourceStop(sourceName);
    if (stream)
        stream->detach(sourceName);
    alSourcei(sourceName, AL_BUFFER, 0);
    stream.reset();
    sourceName = 0;
    paused = false;
}

void AudioChannel::setVolume(float volume)
{
    volumeLevel = std::clamp(volume, 0.0f, 1.0f);
    applyGain();
}

void AudioChannel::setMute(bool mute)
{
    muted = mute;
    applyGain();
}

void AudioChannel::applyGain()
{
    if (!sourceName)
        return;
    const float groupGain = channelGroup ? channelGroup->gain() : 1.0f;
    makeCurrent();
    alSourcef(sourceName, AL_GAIN, muted ? 0.0f : std::clamp(volumeLevel * groupGain, 0.0f, 1.0f));
}

void AudioChannel::setPitch(float pitch)
{
    pitchFactor = std::clamp(pitch, kMinPitch, kMaxPitch);
    if (!sourceName)
        return;
    makeCurrent();
    alSourcef(sourceName, AL_PITCH, pitchFactor);
}

void AudioChannel::set3DAttributes(const AudioVector& position, const AudioVector& velocity)
{
    if (!sourceName || !playedSound->mode().is3D)
        return;
    makeCurrent();
    alSource3f(sourceName, AL_POSITION, position.x, position.y, position.z);
    alSource3f(sourceName, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
}

void AudioChannel::set3DMinMaxDistance(float minDistance, float maxDistance)
{
    if (!sourceName)
        return;
    makeCurrent();
    alSourcef(sourceName, AL_REFERENCE_DISTANCE, minDistance);
    alSourcef(sourceName, AL_MAX_DISTANCE, maxDistance);
}

void AudioChannel::setChannelGroup(AudioChannelGroup* group)
{
    channelGroup = group;
    applyGain();
}
