// The ghost: a see-through copy of the car's meshes that drives a recorded run again,
// interpolating between the recording's frames at every rendered frame.
#pragma once

#include "CarStateWriter.h"

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Entity;
class SceneManager;
class SceneNode;
}

class CarDesc;
class EntityMaterialInstance;

class CarPlayer
{
public:
    static constexpr float kTransparency = 0.6f;
    static constexpr float kStepSeconds = 0.01f;  // the physics step the recording counted
    static constexpr int kMaxIntervalSteps = 1000;

    // name: the prefix of the ghost's scene objects ("BestCarPlayer" in a race).
    CarPlayer(const std::string& name, Ogre::SceneManager* sceneManager);
    virtual ~CarPlayer();
    CarPlayer(const CarPlayer&) = delete;
    CarPlayer& operator=(const CarPlayer&) = delete;

    // Builds the ghost of the car from a ghost file, stopped at its first frame; a run
    // recorded with another number of wheels than the car has drives as a body without
    // wheels. A file that cannot be read or holds no frames gives no ghost: false, with the
    // reason naming the file.
    bool load(const std::string& path, const CarDesc& car, std::string* error = nullptr);
    void play();
    void setPaused(bool paused) { this->paused = paused; }
    void stop();
    // Moves the ghost on by the frame's seconds.
    void update(float seconds);
    // Removes the ghost from the scene.
    void clear();

    bool hasGhost() const { return bodyNode != nullptr; }
    bool isPlaying() const { return playing; }
    Ogre::SceneNode* getBodyNode() const { return bodyNode; }
    const std::vector<Ogre::SceneNode*>& getWheelNodes() const { return wheelNodes; }
    const std::vector<Ogre::SceneNode*>& getRollNodes() const { return rollNodes; }
    // Seconds of the run since it started playing, at the frames' cadence.
    float getFrameInterval() const { return frameInterval; }
    // Seconds played since play(), and the recording's span from its first frame to its
    // last: the ghost stands at its last frame once the one reaches the other.
    float getPlayedSeconds() const { return playedSeconds; }
    float getRunSeconds() const;
    bool isAtEnd() const { return hasGhost() && playedSeconds >= getRunSeconds(); }

private:
    void applyFrame(const CarStateWriter::Frame* frame);
    void place(float t);
    std::string wheelName(std::size_t i) const;

    bool playing = false;
    bool paused = false;
    int intervalSteps = 0;
    float frameInterval = kStepSeconds;
    float accumulator = 0.0f;
    float playedSeconds = 0.0f;
    std::string name;
    Ogre::SceneManager* sceneManager;
    Ogre::Entity* bodyEntity = nullptr;
    Ogre::SceneNode* bodyNode = nullptr;
    std::vector<Ogre::Entity*> wheelEntities;
    std::vector<Ogre::SceneNode*> wheelNodes;
    std::vector<Ogre::SceneNode*> rollNodes;
    CarStateWriter recording;
    std::unique_ptr<EntityMaterialInstance> bodyMaterial;
    std::vector<std::unique_ptr<EntityMaterialInstance>> wheelMaterials;
    Ogre::Vector3 previousPosition = Ogre::Vector3::ZERO;
    Ogre::Vector3 currentPosition = Ogre::Vector3::ZERO;
    Ogre::Quaternion previousOrientation = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion currentOrientation = Ogre::Quaternion::IDENTITY;
    std::vector<float> previousOffsets, currentOffsets;
    std::vector<float> previousSteer, currentSteer;
    std::vector<float> previousRoll, currentRoll;
    std::size_t wheelCount = 0;
};
