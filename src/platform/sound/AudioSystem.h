// The sound system over OpenAL: the device, a pool of sources that channels play on,
// the listener, channel groups, shared decoded buffers and streams pumped by update.
#pragma once

#include "AudioChannelGroup.h"
#include "AudioSound.h"
#include "AudioVector.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class AudioBuffer;
class AudioChannel;
class AudioContext;

class AudioSystem
{
public:
    AudioSystem();
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // Opens the default output with a pool of maxChannels sources. False (reason in
    // error) when there is no device: the system stays inactive and every call does nothing.
    bool init(int maxChannels, std::string* error);
    // The same over a loopback device that renders into memory, for measuring.
    bool initLoopback(int maxChannels, int sampleRateHz, std::string* error);
    // Stops every channel and closes the device.
    void release();
    bool isActive() const { return context != nullptr; }

    // Doppler scale, world units per metre, and the roll-off of every 3D channel.
    void set3DSettings(float dopplerScale, float distanceFactor, float rolloffScale);
    // Null with the reason in error when the file can't be read (or the system is inactive).
    std::shared_ptr<AudioSound> createSound(const std::string& path, AudioSoundMode mode, std::string* error);
    // Starts the sound on a source (stealing one when all are busy); null when inactive or
    // when a stream's file can't be opened.
    std::shared_ptr<AudioChannel> playSound(const std::shared_ptr<AudioSound>& sound, bool paused);

    AudioChannelGroup* getMasterChannelGroup() { return &master; }
    // A named group under the master; made on first use and owned by the system.
    AudioChannelGroup* getChannelGroup(const std::string& name);

    void set3DListenerAttributes(const AudioVector& position, const AudioVector& velocity,
                                 const AudioVector& forward, const AudioVector& up);
    // Refills streams and gives the sources of ended channels back; once per frame.
    void update();

    // Loopback only: mixes the next frames into interleaved stereo floats.
    void renderSamples(float* interleavedStereo, int frames);
    int sourceCount() const { return static_cast<int>(slots.size()); }
    int busySourceCount() const;
    float rolloff() const { return rolloffScale; }

private:
    friend class AudioChannel;
    friend class AudioChannelGroup;
    struct Slot
    {
        unsigned source = 0;
        std::shared_ptr<AudioChannel> channel;  // kept while it plays, even when its owner dropped it
    };

    bool start(std::shared_ptr<AudioContext> opened, int maxChannels, std::string* error);
    int takeSlot();
    int slotToSteal() const;
    void reclaimEnded();
    void releaseChannel(AudioChannel* channel);
    void applyGroupGain(AudioChannelGroup* group);
    std::shared_ptr<AudioBuffer> sharedBuffer(const std::string& path, bool mono, std::string* error);

    std::shared_ptr<AudioContext> context;
    std::vector<Slot> slots;
    AudioChannelGroup master;
    std::map<std::string, std::unique_ptr<AudioChannelGroup>> groups;
    std::map<std::string, std::weak_ptr<AudioBuffer>> buffers;  // one decode per file and layout
    float rolloffScale = 1.0f;
    unsigned long long playCounter = 0;
};
