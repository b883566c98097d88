// A sound bound to a scene node by the node's name: every frame the sound takes the
// node's world position, so a car's engine moves with the car.
#pragma once

#include "sound/SoundFile.h"

#include <string>

namespace Ogre
{
class SceneManager;
}

class NodeSound
{
public:
    // sceneManager may be null (a 2D sound has no position); sound may be empty (the file
    // failed to load), and then every operation does nothing.
    NodeSound(const SoundFilePtr& sound, Ogre::SceneManager* sceneManager);

    SoundFilePtr getSound() const { return sound; }
    void setNodeName(const std::string& name) { nodeName = name; }
    const std::string& getNodeName() const { return nodeName; }

    void play();
    void stop();
    void pause();
    void restart();
    void setVolume(float volume);
    void setPitch(float pitch);
    void setMute(bool mute);
    // World units per second; the owner passes it, update does not.
    void setVelocity(float x, float y, float z);
    bool isPlaying();
    // Moves the sound to its node's world position; skipped while the node does not exist.
    void update();

private:
    SoundFilePtr sound;
    Ogre::SceneManager* sceneManager;
    std::string nodeName;
};
