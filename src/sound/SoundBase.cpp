// The game's sound system, independent of the back end.
#include "sound/SoundBase.h"

#include "LogStream.h"
#include "sound/SoundGroup.h"

#include <algorithm>

SoundBase::~SoundBase()
{
    oneShots.clear();
    groups.clear();
    sounds.clear();
}

void SoundBase::update()
{
    for (auto& sound : sounds)
        if (sound)
            sound->update();
    for (auto shot = oneShots.begin(); shot != oneShots.end();)
    {
        (*shot)->update();
        shot = (*shot)->isPlaying() ? shot + 1 : oneShots.erase(shot);
    }
    while (oneShots.size() > static_cast<size_t>(kMaxOneShotsKept))
    {
        oneShots.front()->stop();
        oneShots.erase(oneShots.begin());
    }
    oneShotsThisFrame = 0;
}

void SoundBase::setListenerPosition(float x, float y, float z)
{
    listenerPosition[0] = x;
    listenerPosition[1] = y;
    listenerPosition[2] = z;
}

void SoundBase::setListenerVelocity(float x, float y, float z)
{
    listenerVelocity[0] = x;
    listenerVelocity[1] = y;
    listenerVelocity[2] = z;
}

void SoundBase::setListenerOrientation(float forwardX, float forwardY, float forwardZ, float upX, float upY,
                                       float upZ)
{
    listenerForward[0] = forwardX;
    listenerForward[1] = forwardY;
    listenerForward[2] = forwardZ;
    listenerUp[0] = upX;
    listenerUp[1] = upY;
    listenerUp[2] = upZ;
}

SoundFilePtr SoundBase::createSound(const std::string& file, bool loop, bool is3D, bool stream,
                                    const std::string& group)
{
    SoundFilePtr sound = newSoundFile(file, loop, is3D, stream);
    if (sound)
    {
        getGroup(group)->addSound(sound);
        groupOfSound[sound->getId()] = group;
        sounds.push_back(sound);
    }
    return sound;
}

SoundFilePtr SoundBase::create2DSound(const std::string& file, bool loop, const std::string& group)
{
    return createSound(file, loop, false, true, group);
}

SoundFilePtr SoundBase::create3DSound(const std::string& file, bool loop, const std::string& group)
{
    return createSound(file, loop, true, false, group);
}

void SoundBase::playOnce(const SoundFilePtr& sound)
{
    if (!sound || oneShotsThisFrame >= kMaxOneShotsPerFrame)
        return;
    SoundFilePtr copy;
    try
    {
        copy = newSoundFile(sound->getFileName(), false, true, false);
    }
    catch (const std::string& message)
    {
        // Called from the physics step: a sound that can't be loaded must not end the race.
        debugLog() << message << "\n";
        return;
    }
    if (!copy)
        return;
    sound->copySettingsTo(*copy);
    copy->play();
    oneShots.push_back(copy);
    ++oneShotsThisFrame;
}

void SoundBase::removeSound(const SoundFilePtr& sound)
{
    if (!sound)
        return;
    sound->stop();
    auto listed = std::find(sounds.begin(), sounds.end(), sound);
    if (listed == sounds.end())
        return;
    auto group = groupOfSound.find(sound->getId());
    if (group != groupOfSound.end())
    {
        getGroup(group->second)->removeSound(sound);
        groupOfSound.erase(group);
    }
    sounds.erase(listed);
}

SoundFilePtr SoundBase::getSound(int index)
{
    if (index < 0 || index >= static_cast<int>(sounds.size()))
        return nullptr;
    return sounds[static_cast<size_t>(index)];
}

SoundGroup* SoundBase::getGroup(const std::string& name)
{
    auto& group = groups[name];
    if (!group)
        group = std::make_unique<SoundGroup>(name);
    return group.get();
}
