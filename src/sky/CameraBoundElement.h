// The base of the sky's elements that stay around the camera: the dome, the sun and the
// starfield. While its radius is automatic, an element sizes itself to the camera's clip.
#pragma once

namespace Ogre
{
class Camera;
class SceneNode;
}

namespace sky
{
class CameraBoundElement
{
public:
    virtual ~CameraBoundElement() = default;
    // Moves the element to the camera (before every viewport is drawn).
    virtual void followCamera(const Ogre::Camera* camera) = 0;
    // A positive distance fixes the element's radius; 0 or less makes it automatic again.
    virtual void setFarDistance(float distance) = 0;
    bool isAutoRadius() const { return autoRadius; }

protected:
    // A unit sphere's node at the camera, scaled just inside the far clip (or just outside
    // the near clip when the far clip is infinite) while the radius is automatic.
    static void followCameraWithSphere(Ogre::SceneNode* node, const Ogre::Camera* camera, bool autoRadius);
    static void fixSphereRadius(Ogre::SceneNode* node, float distance, bool& autoRadius);

    bool autoRadius = true;
};
}
