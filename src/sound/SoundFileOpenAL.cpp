// A sound over our OpenAL layer.
#include "sound/SoundFileOpenAL.h"

#include "platform/sound/AudioChannel.h"
#include "platform/sound/AudioSystem.h"

SoundFileOpenAL::SoundFileOpenAL(std::shared_ptr<AudioSystem> audioSystem, const std::string& file, bool looping,
                                 bool is3D, bool stream)
    : SoundFile(file, looping), system(std::move(audioSystem))
{
    AudioSoundMode mode;
    mode.loop = looping;
    mode.is3D = is3D && !stream;
    mode.stream = stream;
    sound = system->createSound(file, mode, nullptr);
    if (!sound)
        throw std::string("OpenAL SoundFile Error: ") + file;
}

SoundFileOpenAL::~SoundFileOpenAL()
{
    stop();
}

bool SoundFileOpenAL::play()
{
    if (channel)
    {
        if (channel->getPaused())
        {
            channel->setPaused(false);
            return true;
        }
        if (channel->isPlaying())
            return true;
    }
    // Start paused so the first mixed samples already have the sound's settings.
    channel = system->playSound(sound, true);
    if (!channel)
        return false;
    channel->setVolume(effectiveVolume);
    channel->setPitch(pitch);
    channel->setMute(muted);
    update();
    channel->setPaused(false);
    return true;
}

bool SoundFileOpenAL::update()
{
    if (channel)
        channel->set3DAttributes({position[0], position[1], position[2]}, {velocity[0], velocity[1], velocity[2]});
    return true;
}

void SoundFileOpenAL::setMinDistance(float distance)
{
    sound->set3DMinMaxDistance(distance, sound->maxDistance());
    if (channel)
        channel->set3DMinMaxDistance(sound->minDistance(), sound->maxDistance());
}

void SoundFileOpenAL::setMaxDistance(float distance)
{
    sound->set3DMinMaxDistance(sound->minDistance(), distance);
    if (channel)
        channel->set3DMinMaxDistance(sound->minDistance(), sound->maxDistance());
}

void SoundFileOpenAL::pause()
{
    if (isPlaying())
        channel->setPaused(true);
}

void SoundFileOpenAL::restart()
{
    stop();
    play();
}

void SoundFileOpenAL::stop()
{
    if (channel)
        channel->stop();
    channel.reset();
}

void SoundFileOpenAL::setVolume(float newVolume)
{
    SoundFile::setVolume(newVolume);
    if (channel)
        channel->setVolume(effectiveVolume);
}

void SoundFileOpenAL::setPitch(float newPitch)
{
    SoundFile::setPitch(newPitch);
    if (channel)
        channel->setPitch(newPitch);
}

void SoundFileOpenAL::setMute(bool mute)
{
    SoundFile::setMute(mute);
    if (channel)
        channel->setMute(mute);
}

bool SoundFileOpenAL::isPlaying()
{
    return channel && channel->isPlaying();
}
