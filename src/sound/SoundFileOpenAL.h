// A sound played through our OpenAL layer: a decoded buffer (2D or 3D) or a stream,
// on a channel from the moment it plays until it is stopped.
#pragma once

#include "sound/SoundFile.h"

#include <memory>

class AudioChannel;
class AudioSound;
class AudioSystem;

class SoundFileOpenAL : public SoundFile
{
public:
    // Throws "OpenAL SoundFile Error: <file>" (std::string) when the file can't be loaded.
    SoundFileOpenAL(std::shared_ptr<AudioSystem> system, const std::string& file, bool loop, bool is3D, bool stream);
    ~SoundFileOpenAL() override;

    // Resumes a paused sound, leaves a playing one alone, starts it otherwise; false when
    // no channel could be had.
    bool play() override;
    bool update() override;
    void setMinDistance(float distance) override;
    void setMaxDistance(float distance) override;
    void pause() override;
    void restart() override;
    void stop() override;
    void setVolume(float volume) override;
    void setPitch(float pitch) override;
    void setMute(bool mute) override;
    bool isPlaying() override;
    void setDefaultDistances() override {}

    // The channel it plays on; null when it has not played since the last stop.
    AudioChannel* getChannel() const { return channel.get(); }

private:
    std::shared_ptr<AudioSystem> system;
    std::shared_ptr<AudioSound> sound;
    std::shared_ptr<AudioChannel> channel;
};
