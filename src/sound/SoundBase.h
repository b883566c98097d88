// The game's sound system: master volume and mute, the 3D listener, named groups, the
// loaded sounds, and short-lived copies of sounds that play once (contact sounds).
// The back end's subclass makes the sounds that really play.
#pragma once

#include "sound/SoundFile.h"
#include "sound/SoundGroup.h"

#include <map>
#include <memory>
#include <string>
#include <vector>


class SoundBase
{
public:
    static constexpr int kMaxOneShotsPerFrame = 8;
    static constexpr int kMaxOneShotsKept = 10;

    SoundBase() = default;
    virtual ~SoundBase();
    SoundBase(const SoundBase&) = delete;
    SoundBase& operator=(const SoundBase&) = delete;

    virtual bool init() = 0;
    virtual bool release() = 0;
    virtual bool isMuted() { return muted; }
    virtual void setMute(bool mute) { muted = mute; }
    virtual void setVolume(float newVolume) { volume = newVolume; }
    virtual float getVolume() { return volume; }
    // Once per frame: every sound, then the one-shots (finished ones are dropped).
    virtual void update();
    virtual void setListenerPosition(float x, float y, float z);
    // In world units per second.
    virtual void setListenerVelocity(float x, float y, float z);
    virtual void setListenerOrientation(float forwardX, float forwardY, float forwardZ, float upX, float upY,
                                        float upZ);
    // The new sound in the named group; empty without a sound system. Throws the message
    // (std::string) when the file can't be loaded.
    virtual SoundFilePtr createSound(const std::string& file, bool loop, bool is3D, bool stream,
                                     const std::string& group);
    virtual SoundFilePtr create2DSound(const std::string& file, bool loop, const std::string& group);
    virtual SoundFilePtr create3DSound(const std::string& file, bool loop, const std::string& group);
    // Plays a 3D copy of the sound once, with its settings; at most kMaxOneShotsPerFrame per frame.
    virtual void playOnce(const SoundFilePtr& sound);
    // Stops the sound and takes it out of the system and its group.
    virtual void removeSound(const SoundFilePtr& sound);
    // The sound at that place in creation order; empty outside the list.
    virtual SoundFilePtr getSound(int index);
    virtual SoundFilePtr newSoundFile(const std::string& file, bool loop, bool is3D, bool stream) = 0;

    // The group of that name, made on first use.
    SoundGroup* getGroup(const std::string& name);
    size_t soundCount() const { return sounds.size(); }
    size_t oneShotCount() const { return oneShots.size(); }
    const float* getListenerVelocity() const { return listenerVelocity; }

protected:
    bool muted = false;
    float volume = 1.0f;
    std::vector<SoundFilePtr> sounds;
    float listenerPosition[3] = {0.0f, 0.0f, 0.0f};
    float listenerVelocity[3] = {0.0f, 0.0f, 0.0f};
    float listenerForward[3] = {0.0f, 0.0f, -1.0f};
    float listenerUp[3] = {0.0f, 1.0f, 0.0f};
    int oneShotsThisFrame = 0;
    std::map<std::string, std::unique_ptr<SoundGroup>> groups;
    std::map<int, std::string> groupOfSound;  // by sound id
    std::vector<SoundFilePtr> oneShots;       // oldest first
};
