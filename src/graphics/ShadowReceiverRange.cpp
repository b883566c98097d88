// Receivers of the texture shadows near the camera only.
#include "graphics/ShadowReceiverRange.h"

#include <OGRE/OgreMovableObject.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreRenderQueueSortingGrouping.h>
#include <OGRE/OgreSceneManager.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kMargin = 1.25f;  // the square's corners, and rounding, are well inside
}

ShadowReceiverRange::ShadowReceiverRange(Ogre::SceneManager* sceneManager)
    : reachDistance(reach(sceneManager->getShadowFarDistance(), sceneManager->getShadowDirLightTextureOffset()))
{
    sceneManager->getRenderQueue()->getQueueGroup(kFarQueue)->setShadowsEnabled(false);
}

float ShadowReceiverRange::reach(float shadowFarDistance, float textureOffset)
{
    return kMargin * shadowFarDistance * (std::fabs(textureOffset) + std::sqrt(2.0f));
}

bool ShadowReceiverRange::isWithin(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& eye, float reach)
{
    if (box.isNull())
        return false;
    if (box.isInfinite())
        return true;
    const Ogre::Vector3& low = box.getMinimum();
    const Ogre::Vector3& high = box.getMaximum();
    const float dx = std::max({low.x - eye.x, 0.0f, eye.x - high.x});
    const float dz = std::max({low.z - eye.z, 0.0f, eye.z - high.z});
    return dx * dx + dz * dz <= reach * reach;
}

ShadowReceiverRange::~ShadowReceiverRange()
{
    clear();
}

void ShadowReceiverRange::add(Ogre::MovableObject* object)
{
    // Objects of other queues (the sky, overlays) keep theirs.
    if (!object || object->getRenderQueueGroup() != kNearQueue || object->getListener())
        return;
    object->setListener(this);
    objects.push_back(object);
}

void ShadowReceiverRange::clear()
{
    for (Ogre::MovableObject* object : objects)
        object->setListener(nullptr);
    objects.clear();
}

void ShadowReceiverRange::objectDestroyed(Ogre::MovableObject* object)
{
    const auto held = std::find(objects.begin(), objects.end(), object);
    if (held == objects.end())
        return;
    *held = objects.back();
    objects.pop_back();
}

void ShadowReceiverRange::update(const Ogre::Vector3& eye)
{
    for (Ogre::MovableObject* object : objects)
    {
        const bool near = isWithin(object->getWorldBoundingBox(true), eye, reachDistance);
        const unsigned char queue = near ? kNearQueue : kFarQueue;
        if (object->getRenderQueueGroup() != queue)
            object->setRenderQueueGroup(queue);
    }
}
