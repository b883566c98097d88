// The sound facade.
#include "sound/SoundManager.h"

#include "LogStream.h"
#include "sound/NodeSound.h"
#include "sound/SoundBaseOpenAL.h"

#include <OGRE/OgreCamera.h>

#include <algorithm>
#include <chrono>

namespace
{
// Two listener updates closer than this keep the last velocity: the frame loop updates
// twice per pass, and a tiny interval would turn any jitter into a huge speed.
constexpr double kMinVelocityIntervalSeconds = 0.001;

double steadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
}

SoundManager* SoundManager::getInstance()
{
    // Opened at first use, not before main: a program that never sounds never opens a device.
    static SoundManager instance;
    return &instance;
}

SoundManager::SoundManager() : soundBase(std::make_unique<SoundBaseOpenAL>()), clock(steadySeconds)
{
    auto* openAL = static_cast<SoundBaseOpenAL*>(soundBase.get());
    try
    {
        openAL->init();
        pendingLog = openAL->getStartupReport() + "\n";
    }
    catch (const std::string& message)
    {
        pendingLog = openAL->getStartupReport() + "\n" + message + ": no sound device, sound is off\n";
    }
}

SoundManager::SoundManager(std::unique_ptr<SoundBase> base, std::function<double()> clockSeconds)
    : soundBase(std::move(base)), clock(clockSeconds ? std::move(clockSeconds) : steadySeconds)
{
}

SoundManager::~SoundManager()
{
    nodeSounds.clear();
    soundBase->release();
}

void SoundManager::setCamera(Ogre::Camera* newCamera)
{
    camera = newCamera;
    listenerPlaced = false;
}

bool SoundManager::isMuted()
{
    return soundBase->isMuted();
}

void SoundManager::setMute(bool mute)
{
    soundBase->setMute(mute);
}

void SoundManager::setVolume(float volume)
{
    soundBase->setVolume(volume);
}

float SoundManager::getVolume()
{
    return soundBase->getVolume();
}

SoundGroup* SoundManager::getGroup(const std::string& name)
{
    return soundBase->getGroup(name);
}

NodeSound* SoundManager::create3DNodeSound(Ogre::SceneManager* sceneManager, const std::string& file, bool loop,
                                           const std::string& group)
{
    return createNodeSound(sceneManager, file, loop, true, false, group);
}

NodeSound* SoundManager::create2DNodeSound(Ogre::SceneManager* sceneManager, const std::string& file, bool loop,
                                           const std::string& group)
{
    return createNodeSound(sceneManager, file, loop, false, true, group);
}

NodeSound* SoundManager::createNodeSound(Ogre::SceneManager* sceneManager, const std::string& file, bool loop,
                                         bool is3D, bool stream, const std::string& group)
{
    SoundFilePtr sound;
    try
    {
        sound = soundBase->createSound(file, loop, is3D, stream, group);
    }
    catch (const std::string& message)
    {
        debugLog() << message << "\n";
    }
    nodeSounds.push_back(std::make_unique<NodeSound>(sound, sceneManager));
    return nodeSounds.back().get();
}

void SoundManager::destroyNodeSound(NodeSound* nodeSound)
{
    auto listed = std::find_if(nodeSounds.begin(), nodeSounds.end(),
                               [nodeSound](const std::unique_ptr<NodeSound>& entry) { return entry.get() == nodeSound; });
    if (!nodeSound || listed == nodeSounds.end())
        return;
    nodeSound->stop();
    if (nodeSound->getSound())
        soundBase->removeSound(nodeSound->getSound());
    nodeSounds.erase(listed);
}

void SoundManager::clearNodeSounds()
{
    while (!nodeSounds.empty())
        destroyNodeSound(nodeSounds.back().get());
    ++clearCount;
}

void SoundManager::updateListener()
{
    const Ogre::Vector3 position = camera->getRealPosition();
    const double now = clock();
    if (!listenerPlaced)
    {
        // A camera just handed over has no previous position to move from.
        listenerVelocity = Ogre::Vector3::ZERO;
        lastListenerPosition = position;
        lastListenerSeconds = now;
        listenerPlaced = true;
    }
    else if (now - lastListenerSeconds >= kMinVelocityIntervalSeconds)
    {
        listenerVelocity = (position - lastListenerPosition) / static_cast<float>(now - lastListenerSeconds);
        lastListenerPosition = position;
        lastListenerSeconds = now;
    }
    const Ogre::Vector3 direction = camera->getRealDirection();
    const Ogre::Vector3 up = camera->getRealUp();
    soundBase->setListenerPosition(position.x, position.y, position.z);
    soundBase->setListenerVelocity(listenerVelocity.x, listenerVelocity.y, listenerVelocity.z);
    soundBase->setListenerOrientation(direction.x, direction.y, direction.z, up.x, up.y, up.z);
}

void SoundManager::update()
{
    if (!pendingLog.empty())
    {
        debugLog() << pendingLog;
        pendingLog.clear();
    }
    if (camera)
        updateListener();
    for (auto& nodeSound : nodeSounds)
        if (nodeSound)
            nodeSound->update();
    soundBase->update();
}
