// Channel groups.
#include "AudioChannelGroup.h"

#include "AudioSystem.h"

void AudioChannelGroup::setVolume(float volume)
{
    volumeLevel = volume;
    owner->applyGroupGain(this);
}

void AudioChannelGroup::setMute(bool mute)
{
    muted = mute;
    owner->applyGroupGain(this);
}
