// A sound that follows a scene node.
#include "sound/NodeSound.h"

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

NodeSound::NodeSound(const SoundFilePtr& soundFile, Ogre::SceneManager* manager)
    : sound(soundFile), sceneManager(manager)
{
}

void NodeSound::play()
{
    if (sound)
        sound->play();
}

void NodeSound::stop()
{
    if (sound)
        sound->stop();
}

void NodeSound::pause()
{
    if (sound)
        sound->pause();
}

void NodeSound::restart()
{
    if (sound)
        sound->restart();
}

void NodeSound::setVolume(float volume)
{
    if (sound)
        sound->setVolume(volume);
}

void NodeSound::setPitch(float pitch)
{
    if (sound)
        sound->setPitch(pitch);
}

void NodeSound::setMute(bool mute)
{
    if (sound)
        sound->setMute(mute);
}

void NodeSound::setVelocity(float x, float y, float z)
{
    if (sound)
        sound->setVelocity(x, y, z);
}

bool NodeSound::isPlaying()
{
    return sound && sound->isPlaying();
}

void NodeSound::update()
{
    if (!sceneManager || nodeName.empty() || !sound || !sceneManager->hasSceneNode(nodeName))
        return;
    const Ogre::Vector3& position = sceneManager->getSceneNode(nodeName)->_getDerivedPosition();
    sound->setPosition(position.x, position.y, position.z);
}
