// One playing instance of a sound on an OpenAL source. The handle stays valid after the
// sound ends or its source is taken for another sound: then every call does nothing and
// isPlaying is false.
#pragma once

#include "AudioVector.h"

#include <memory>

class AudioChannelGroup;
class AudioSound;
class AudioStream;
class AudioSystem;

class AudioChannel
{
public:
    ~AudioChannel();
    AudioChannel(const AudioChannel&) = delete;
    AudioChannel& operator=(const AudioChannel&) = delete;

    // Playing or paused; false once it has ended, was stopped, or lost its source.
    bool isPlaying() const;
    bool getPaused() const { return paused; }
    // Pausing keeps the place; unpausing continues from it.
    void setPaused(bool pause);
    void stop();

    // Gain in [0, 1]; OpenAL rejects a negative gain (and would keep the old one).
    void setVolume(float volume);
    float getVolume() const { return volumeLevel; }
    // Playback speed factor; clamped to what OpenAL plays (above 0).
    void setPitch(float pitch);
    float getPitch() const { return pitchFactor; }
    void setMute(bool mute);
    void set3DAttributes(const AudioVector& position, const AudioVector& velocity);
    void set3DMinMaxDistance(float minDistance, float maxDistance);
    void setChannelGroup(AudioChannelGroup* group);
    AudioChannelGroup* getChannelGroup() const { return channelGroup; }

    // The source this channel plays on; 0 when it has none.
    unsigned source() const { return sourceName; }
    const std::shared_ptr<AudioSound>& sound() const { return playedSound; }

private:
    friend class AudioSystem;
    AudioChannel(AudioSystem* system, std::shared_ptr<AudioSound> sound, unsigned source,
                 std::unique_ptr<AudioStream> stream, unsigned long long startOrder);
    // Called by the system: stops the source and gives it back.
    void detach();
    void applyGain();
    void makeCurrent() const;

    AudioSystem* owner;
    std::shared_ptr<AudioSound> playedSound;
    unsigned sourceName;
    std::unique_ptr<AudioStream> stream;
    unsigned long long startOrder;
    AudioChannelGroup* channelGroup = nullptr;
    bool paused = false;
    bool muted = false;
    float volumeLevel = 1.0f;
    float pitchFactor = 1.0f;
};
