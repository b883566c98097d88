// Camera-bound sky spheres.
#include "sky/CameraBoundElement.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneNode.h>

namespace sky
{
namespace
{
constexpr float kClipMargin = 0.1f;  // world units inside the far clip, outside the near clip
}

void CameraBoundElement::followCameraWithSphere(Ogre::SceneNode* node, const Ogre::Camera* camera, bool autoRadius)
{
    node->setPosition(camera->getRealPosition());
    if (!autoRadius)
        return;
    const float farClip = camera->getFarClipDistance();
    const float radius = farClip > 0.0f ? farClip - kClipMargin : camera->getNearClipDistance() + kClipMargin;
    node->setScale(radius, radius, radius);
}

void CameraBoundElement::fixSphereRadius(Ogre::SceneNode* node, float distance, bool& autoRadius)
{
    if (distance > 0.0f)
    {
        node->setScale(distance, distance, distance);
        autoRadius = false;
    }
    else
        autoRadius = true;
}
}
