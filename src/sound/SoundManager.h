// The sound facade: one object, made at its first use, that owns the sound system, the node
// sounds that follow scene nodes, and the listener.
#pragma once

#include "sound/SoundFile.h"

#include <OGRE/OgreVector.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Camera;
class SceneManager;
}
class NodeSound;
class SoundBase;
class SoundGroup;

class SoundManager
{
public:
    static SoundManager* getInstance();

    // A facade over a given sound system; clockSeconds tells the time (steady clock when empty).
    explicit SoundManager(std::unique_ptr<SoundBase> soundBase, std::function<double()> clockSeconds = {});
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // The camera the listener follows (the race camera rig's); null leaves the listener where it is.
    void setCamera(Ogre::Camera* camera);

    bool isMuted();
    void setMute(bool mute);
    void setVolume(float volume);
    float getVolume();
    SoundBase* getSoundBase() { return soundBase.get(); }
    SoundGroup* getGroup(const std::string& name);

    // Never null: when the file can't be loaded the node sound has an empty sound.
    NodeSound* create3DNodeSound(Ogre::SceneManager* sceneManager, const std::string& file, bool loop,
                                 const std::string& group);
    // Streamed and without position: callers pass a null scene manager.
    NodeSound* create2DNodeSound(Ogre::SceneManager* sceneManager, const std::string& file, bool loop,
                                 const std::string& group);
    NodeSound* createNodeSound(Ogre::SceneManager* sceneManager, const std::string& file, bool loop, bool is3D,
                               bool stream, const std::string& group);
    // The node sounds belong to the facade: this stops, unregisters and deletes one. Null, or a
    // pointer the facade did not make (or already destroyed), is ignored.
    void destroyNodeSound(NodeSound* nodeSound);
    // Destroys every node sound still alive: an engine restart drops the scene nodes they follow.
    void clearNodeSounds();
    // Counts the clears, so that one who keeps a node sound across them can tell it is gone.
    unsigned getClearCount() const { return clearCount; }
    size_t nodeSoundCount() const { return nodeSounds.size(); }

    // Once per frame: moves the listener with the camera and updates every sound.
    void update();

private:
    SoundManager();
    void updateListener();

    std::unique_ptr<SoundBase> soundBase;
    Ogre::Camera* camera = nullptr;
    std::vector<std::unique_ptr<NodeSound>> nodeSounds;
    Ogre::Vector3 lastListenerPosition = Ogre::Vector3::ZERO;
    double lastListenerSeconds = 0.0;
    bool listenerPlaced = false;  // false until the first update after a camera is set
    Ogre::Vector3 listenerVelocity = Ogre::Vector3::ZERO;
    std::function<double()> clock;
    std::string pendingLog;  // start-up report, written with the first update (the log opens after us)
    unsigned clearCount = 0;
};
