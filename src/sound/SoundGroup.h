// A named set of sounds whose volume and mute scale every member (the "Music" and
// "SoundEffects" groups follow the settings).
#pragma once

#include "sound/SoundFile.h"

#include <map>
#include <string>

class SoundGroup
{
public:
    explicit SoundGroup(const std::string& name);
    // Leaves the members with group volume 1.
    virtual ~SoundGroup();

    void addSound(const SoundFilePtr& sound);
    // The member's group volume goes back to 1.
    void removeSound(const SoundFilePtr& sound);
    void setMute(bool mute);
    void setVolume(float volume);
    bool isMuted() const { return muted; }
    float getVolume() const { return volume; }
    const std::string& getName() const { return name; }
    size_t size() const { return members.size(); }

private:
    // What the members hear of the group: 0 while muted.
    float memberVolume() const { return muted ? 0.0f : volume; }
    void applyToMembers();

    std::string name;
    std::map<int, SoundFilePtr> members;  // by sound id
    float volume = 1.0f;
    bool muted = false;
};
