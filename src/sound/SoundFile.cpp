// A sound and its playback settings.
#include "sound/SoundFile.h"

int SoundFile::nextId = 0;

SoundFile::SoundFile(const std::string& name, bool looping) : loop(looping), id(nextId++), fileName(name)
{
}

bool SoundFile::update()
{
    if (muted && isPlaying())
        stop();
    return true;
}

void SoundFile::setPosition(float x, float y, float z)
{
    position[0] = x;
    position[1] = y;
    position[2] = z;
}

void SoundFile::setVelocity(float x, float y, float z)
{
    velocity[0] = x;
    velocity[1] = y;
    velocity[2] = z;
}

void SoundFile::setVolume(float newVolume)
{
    volume = newVolume;
    effectiveVolume = newVolume * groupVolume;
}

void SoundFile::setPitch(float newPitch)
{
    pitch = newPitch;
}

void SoundFile::setMute(bool mute)
{
    muted = mute;
}

void SoundFile::setGroupVolume(float newGroupVolume)
{
    if (newGroupVolume == groupVolume)
        return;
    groupVolume = newGroupVolume;
    setVolume(volume);
}

void SoundFile::copySettingsTo(SoundFile& other) const
{
    other.setMute(muted);
    // The copy gets the sound's own volume, then the group volume: the group counts once.
    other.setVolume(volume);
    other.setGroupVolume(groupVolume);
    other.setPitch(pitch);
    other.setPosition(position[0], position[1], position[2]);
    other.setVelocity(velocity[0], velocity[1], velocity[2]);
}

void SoundFile::setDefaultDistances()
{
    constexpr float kDefaultMinDistance = 1.0f;   // world units
    constexpr float kDefaultMaxDistance = 50.0f;  // world units
    setMinDistance(kDefaultMinDistance);
    setMaxDistance(kDefaultMaxDistance);
}
