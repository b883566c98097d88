// A volume and mute shared by a set of channels. The system's master group scales
// everything (it is the listener's gain).
#pragma once

#include <string>

class AudioSystem;

class AudioChannelGroup
{
public:
    AudioChannelGroup(AudioSystem* system, std::string name) : owner(system), groupName(std::move(name)) {}

    void setVolume(float volume);
    float getVolume() const { return volumeLevel; }
    void setMute(bool mute);
    bool getMute() const { return muted; }
    // What the group multiplies its channels' gain by: 0 while muted.
    float gain() const { return muted ? 0.0f : volumeLevel; }
    const std::string& name() const { return groupName; }

private:
    AudioSystem* owner;
    std::string groupName;
    float volumeLevel = 1.0f;
    bool muted = false;
};
