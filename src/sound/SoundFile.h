// One sound of the game with its playback settings (volume, group volume, pitch, mute,
// 3D position and velocity); the back end's subclass plays it. Always held shared.
#pragma once

#include <memory>
#include <string>

class SoundFile;
using SoundFilePtr = std::shared_ptr<SoundFile>;

class SoundFile
{
public:
    SoundFile(const std::string& fileName, bool loop);
    virtual ~SoundFile() = default;

    virtual bool play() { return true; }
    // Once per frame; the base stops a muted sound that plays.
    virtual bool update();
    virtual void setPosition(float x, float y, float z);
    virtual void setVelocity(float x, float y, float z);
    virtual void setMinDistance(float) {}
    virtual void setMaxDistance(float) {}
    virtual void pause() {}
    virtual void restart() {}
    virtual void stop() {}
    // The sound's own volume; what is heard is volume × group volume.
    virtual void setVolume(float volume);
    virtual void setPitch(float pitch);
    virtual void setMute(bool mute);
    // Set by the sound's group; nothing happens when it does not change.
    virtual void setGroupVolume(float groupVolume);
    virtual bool isPlaying() { return false; }
    // Gives another sound this one's settings (a one-shot copy takes them).
    virtual void copySettingsTo(SoundFile& other) const;
    virtual void setDefaultDistances();

    int getId() const { return id; }
    const std::string& getFileName() const { return fileName; }
    bool isLooping() const { return loop; }
    bool isMuted() const { return muted; }
    float getVolume() const { return volume; }
    float getGroupVolume() const { return groupVolume; }
    float getEffectiveVolume() const { return effectiveVolume; }
    float getPitch() const { return pitch; }
    const float* getPosition() const { return position; }
    const float* getVelocity() const { return velocity; }

protected:
    bool loop;
    bool muted = false;
    float effectiveVolume = 1.0f;  // always volume × group volume
    float groupVolume = 1.0f;
    float volume = 1.0f;
    float pitch = 1.0f;
    int id;
    std::string fileName;
    float position[3] = {0.0f, 0.0f, 0.0f};
    float velocity[3] = {0.0f, 0.0f, 0.0f};

private:
    static int nextId;
};
