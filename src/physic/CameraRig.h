// The race camera: switched between a car's camera positions, either fixed at one or
// chasing the car along its heading of a moment ago, lifted clear of the terrain.
#pragma once

#include <OGRE/OgreVector.h>

#include <deque>
#include <string>

namespace Ogre
{
class Camera;
class SceneManager;
class SceneNode;
}

class CameraRig
{
public:
    static constexpr float kNearClip = 0.1f;            // units
    static constexpr float kFovDegrees = 60.0f;         // vertical
    static constexpr float kFarClipInfinite = 10000.0f; // units, with an infinite far plane
    static constexpr float kFarClip = 1000.0f;          // units, without
    static constexpr float kLookAtHeight = 1.3f;        // units above the car's origin
    static constexpr float kChaseRise = 0.5f;           // units above the look-at height
    static constexpr float kGroundClearance = 1.0f;     // units: the smooth node stays 1.5 above ground

    // The camera is made in sceneManager and handed to the sound facade as the listener.
    // A heading stays window seconds; the newest window - delay seconds count only by
    // their oldest entry.
    CameraRig(const std::string& name, Ogre::SceneManager* sceneManager, float windowSeconds, float delaySeconds);
    ~CameraRig();
    CameraRig(const CameraRig&) = delete;
    CameraRig& operator=(const CameraRig&) = delete;

    // Moves the rig onto a car camera's nodes; (null, null) only takes it off the current ones.
    void camSwitch(Ogre::SceneNode* positionNode, Ogre::SceneNode* lookAtNode);
    void setSmooth(bool smooth);
    void applySmooth(bool smooth);
    // Once per physics step with the car's heading (x, z); the acceleration is not used.
    void update(float dt, float acceleration, const Ogre::Vector2& heading);
    // Once per frame with the terrain height under the rig.
    void follow(float groundHeight);

    void setAlpha(float value) { alpha = value; }
    void setLag(float value) { lag = value; }
    void setOffset(float value) { offset = value; }
    void setFOV(float degrees);

    // World position of the node the camera hangs at; the origin before any switch.
    Ogre::Vector3 getPosition() const;
    Ogre::Camera* getCamera() const { return camera; }
    Ogre::SceneNode* getPositionNode() const { return positionNode; }
    Ogre::SceneNode* getLookAtNode() const { return lookAtNode; }
    Ogre::SceneNode* getSmoothNode() const { return smoothNode; }
    bool isSmooth() const { return smooth; }
    bool isOnSmoothNode() const { return onSmoothNode; }
    float getFollowDistance() const { return followDistance; }
    size_t getHistorySize() const { return history.size(); }
    // The newest follow offset (world), zero without one.
    Ogre::Vector3 getLastOffset() const { return history.empty() ? Ogre::Vector3::ZERO : history.back(); }

private:
    void attachCamera(Ogre::SceneNode* node);

    Ogre::SceneNode* lookAtNode = nullptr;    // the car camera's, not owned
    Ogre::SceneNode* positionNode = nullptr;  // the car camera's, not owned
    Ogre::SceneNode* smoothNode = nullptr;
    Ogre::SceneNode* rigNode = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::SceneManager* sceneManager;
    std::string name;
    bool smooth = true;
    bool onSmoothNode = true;
    float offset = 0.0f;    // stored only
    float distance = 0.0f;  // units, position node to look-at node at the last switch
    float lag = 1.0f;
    std::deque<Ogre::Vector2> headings;  // oldest first
    std::deque<float> ages;              // seconds, parallel to headings
    std::deque<Ogre::Vector3> history;   // follow offsets, oldest first
    float window;                        // seconds
    float delay;                         // seconds
    float followDistance = 0.0f;         // units
    float alpha = 0.0f;
};
