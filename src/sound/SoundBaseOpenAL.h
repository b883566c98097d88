// The game's sound system over our OpenAL layer: 20 channels, Doppler 1, 3.5 world units
// per metre, roll-off 0.5; the master volume and mute are the listener's gain.
#pragma once

#include "sound/SoundBase.h"

#include <memory>
#include <string>

class AudioSystem;

class SoundBaseOpenAL : public SoundBase
{
public:
    static constexpr int kChannels = 20;
    static constexpr float kDopplerScale = 1.0f;
    static constexpr float kDistanceFactor = 3.5f;  // world units per metre
    static constexpr float kRolloffScale = 0.5f;

    // loopbackRateHz 0 plays on the default device; otherwise everything is rendered into
    // memory at that rate (see getAudioSystem()->renderSamples), for measuring.
    explicit SoundBaseOpenAL(int loopbackRateHz = 0);
    ~SoundBaseOpenAL() override;

    // Throws "OpenAL error: init" (std::string) when there is no sound device; the system
    // then stays without sound and every call does nothing.
    bool init() override;
    bool release() override;
    void setMute(bool mute) override;
    void setVolume(float volume) override;
    void update() override;
    SoundFilePtr newSoundFile(const std::string& file, bool loop, bool is3D, bool stream) override;

    // "Initialize OpenAL ... ok" or "... error" with the reason, after init.
    const std::string& getStartupReport() const { return startupReport; }
    AudioSystem* getAudioSystem() const { return system.get(); }

private:
    int loopbackRateHz;
    std::shared_ptr<AudioSystem> system;  // shared with the sounds, which may outlive this
    std::string startupReport;
};
