// The starfield: a star map on a sphere around the camera, drawn before the dome, turning
// once a day about an axis tilted like the sun's circle.
#pragma once

#include "sky/CameraBoundElement.h"
#include "sky/SceneElement.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreMath.h>

#include <memory>
#include <string>

namespace Ogre
{
class SceneManager;
}

namespace sky
{
class Starfield : public CameraBoundElement
{
public:
    explicit Starfield(Ogre::SceneManager* sceneManager);
    ~Starfield() override;
    Starfield(const Starfield&) = delete;
    Starfield& operator=(const Starfield&) = delete;

    void setInclination(Ogre::Degree angle) { inclination = angle; }
    // The star map is loaded the first time the sphere is drawn visible, not before: the
    // biggest picture of the sky, it goes unseen all through a race by day.
    void setStarfieldTexture(const std::string& textureName);
    bool isTextureLoaded() const { return textureBound; }
    // Turns the sphere for the relative day time.
    void update(float relativeDayTime);

    void followCamera(const Ogre::Camera* camera) override;
    void setFarDistance(float distance) override;
    Ogre::SceneNode* getNode() const { return element->getNode(); }
    const Ogre::MaterialPtr& getMaterial() const { return material; }

private:
    void build();
    // Releases whatever exists, also after a failed build.
    void release();
    void createStarfieldMaterial();
    void destroyStarfieldMaterial();
    void bindTexture();

    Ogre::SceneManager* sceneManager;
    std::unique_ptr<SceneElement> element;  // released before the material
    Ogre::MaterialPtr material;
    Ogre::Degree inclination{0};
    std::string textureName;
    bool textureBound = false;
};
}
