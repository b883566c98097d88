// A sound group.
#include "sound/SoundGroup.h"

SoundGroup::SoundGroup(const std::string& groupName) : name(groupName)
{
}

SoundGroup::~SoundGroup()
{
    setMute(false);
    setVolume(1.0f);
}

void SoundGroup::addSound(const SoundFilePtr& sound)
{
    if (!sound)
        return;
    sound->setGroupVolume(memberVolume());
    members[sound->getId()] = sound;
}

void SoundGroup::removeSound(const SoundFilePtr& sound)
{
    if (!sound)
        return;
    auto member = members.find(sound->getId());
    if (member == members.end())
        return;
    member->second->setGroupVolume(1.0f);
    members.erase(member);
}

void SoundGroup::setMute(bool mute)
{
    if (mute == muted)
        return;
    muted = mute;
    applyToMembers();
}

void SoundGroup::setVolume(float newVolume)
{
    if (newVolume == volume)
        return;
    volume = newVolume;
    applyToMembers();
}

void SoundGroup::applyToMembers()
{
    for (auto& member : members)
        member.second->setGroupVolume(memberVolume());
}
