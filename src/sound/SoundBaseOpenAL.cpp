// The game's sound system over OpenAL.
#include "sound/SoundBaseOpenAL.h"

#include "platform/sound/AudioSystem.h"
#include "sound/SoundFileOpenAL.h"

SoundBaseOpenAL::SoundBaseOpenAL(int loopbackRate) : loopbackRateHz(loopbackRate)
{
}

SoundBaseOpenAL::~SoundBaseOpenAL()
{
    // Sounds (and their groups) stop before the system goes.
    oneShots.clear();
    groups.clear();
    sounds.clear();
    release();
}

bool SoundBaseOpenAL::init()
{
    system = std::make_shared<AudioSystem>();
    std::string reason;
    const bool started = loopbackRateHz > 0 ? system->initLoopback(kChannels, loopbackRateHz, &reason)
                                            : system->init(kChannels, &reason);
    if (!started)
    {
        startupReport = "Initialize OpenAL ... error (" + reason + ")";
        system.reset();
        throw std::string("OpenAL error: init");
    }
    startupReport = "Initialize OpenAL ... ok";
    system->set3DSettings(kDopplerScale, kDistanceFactor, kRolloffScale);
    system->getMasterChannelGroup()->setVolume(volume);
    system->getMasterChannelGroup()->setMute(muted);
    return true;
}

bool SoundBaseOpenAL::release()
{
    if (system)
        system->release();
    return true;
}

void SoundBaseOpenAL::setMute(bool mute)
{
    SoundBase::setMute(mute);
    if (system)
        system->getMasterChannelGroup()->setMute(mute);
}

void SoundBaseOpenAL::setVolume(float newVolume)
{
    SoundBase::setVolume(newVolume);
    // The mute is kept apart, so a volume set while muted stays silent until unmuted.
    if (system)
        system->getMasterChannelGroup()->setVolume(newVolume);
}

void SoundBaseOpenAL::update()
{
    SoundBase::update();
    if (!system)
        return;
    system->set3DListenerAttributes({listenerPosition[0], listenerPosition[1], listenerPosition[2]},
                                    {listenerVelocity[0], listenerVelocity[1], listenerVelocity[2]},
                                    {listenerForward[0], listenerForward[1], listenerForward[2]},
                                    {listenerUp[0], listenerUp[1], listenerUp[2]});
    system->update();
}

SoundFilePtr SoundBaseOpenAL::newSoundFile(const std::string& file, bool loop, bool is3D, bool stream)
{
    if (!system || !system->isActive())
        return nullptr;
    return std::make_shared<SoundFileOpenAL>(system, file, loop, is3D, stream);
}
