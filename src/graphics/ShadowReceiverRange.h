// Texture shadows fall only near the camera: the shadow texture of a directional light covers
// a square of twice the shadow far distance about a point ahead of the camera. The engine still
// draws its shadow pass over every receiver in view, which for the race is the whole terrain a
// second time and changes none of the far pixels. Objects beyond that reach are moved, frame
// by frame, into a render queue without shadows, drawn just before the main one.
#pragma once

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreMovableObject.h>
#include <OGRE/OgreVector.h>

#include <vector>

namespace Ogre
{
class SceneManager;
}

// Listens to the objects it holds, so that one destroyed during the race (a page of far
// trees, say) is dropped rather than left behind.
class ShadowReceiverRange : private Ogre::MovableObject::Listener
{
public:
    static constexpr unsigned char kFarQueue = 49;   // just before the main queue (50)
    static constexpr unsigned char kNearQueue = 50;  // the main queue, where every object starts

    // The scene's shadow far distance and directional texture offset give the reach.
    explicit ShadowReceiverRange(Ogre::SceneManager* sceneManager);
    ~ShadowReceiverRange() override;
    ShadowReceiverRange(const ShadowReceiverRange&) = delete;
    ShadowReceiverRange& operator=(const ShadowReceiverRange&) = delete;

    // Horizontal distance from the camera within which a straight-down light's shadow texture
    // can fall, with a margin: the texture's square about its centre, which lies offset × far
    // ahead of the camera.
    static float reach(float shadowFarDistance, float textureOffset);
    // Whether any part of the box lies within the reach of the eye, measured in x and z only
    // (the light shines straight down, so height makes no difference).
    static bool isWithin(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& eye, float reach);

    // An object of the main queue to move between the queues; others are left alone, and so
    // is one that already has a listener of its own.
    void add(Ogre::MovableObject* object);
    void clear();
    void update(const Ogre::Vector3& eye);
    float getReach() const { return reachDistance; }

    size_t size() const { return objects.size(); }

private:
    void objectDestroyed(Ogre::MovableObject* object) override;

    float reachDistance;
    std::vector<Ogre::MovableObject*> objects;
};
