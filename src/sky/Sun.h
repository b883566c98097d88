// The sun: the directional light "SkySun", pointed by a sun-position model, and a bright
// disc in the sky where the light comes from, kept at a fixed angular size.
#pragma once

#include "sky/CameraBoundElement.h"
#include "sky/SceneElement.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreVector.h>

#include <memory>

namespace Ogre
{
class Light;
class SceneManager;
}

namespace sky
{
class SunPositionModel;

class Sun : public CameraBoundElement
{
public:
    // The sun's disc, a mesh of the sky's resource group.
    static constexpr const char* kMeshName = "sphere.mesh";

    explicit Sun(Ogre::SceneManager* sceneManager);
    ~Sun() override;
    Sun(const Sun&) = delete;
    Sun& operator=(const Sun&) = delete;

    // Installs the model (owned from now on) and hands back the previous one.
    std::unique_ptr<SunPositionModel> setSunPositionModel(std::unique_ptr<SunPositionModel> model);
    SunPositionModel* getSunPositionModel() const { return positionModel.get(); }

    // Points the light for the relative day time; straight down without a model.
    void update(float relativeDayTime);
    // Where the sunlight travels.
    const Ogre::Vector3& getSunDirection() const { return sunDirection; }
    // The light's colour and the disc's glow, warmed and brightened from the sky's colour.
    void setSunColours(const Ogre::ColourValue& colour);
    const Ogre::ColourValue& getSunColour() const { return sunColour; }
    Ogre::Light* getLight() const { return light; }
    Ogre::SceneNode* getNode() const { return disc->getNode(); }

    void followCamera(const Ogre::Camera* camera) override;
    void setFarDistance(float distance) override;

private:
    void build();
    // Releases whatever exists, also after a failed build.
    void release();
    void createSunMaterial();
    void destroySunMaterial();

    Ogre::SceneManager* sceneManager;
    std::unique_ptr<SunPositionModel> positionModel;
    Ogre::Light* light = nullptr;
    Ogre::SceneNode* lightNode = nullptr;
    Ogre::Vector3 sunDirection = Ogre::Vector3::NEGATIVE_UNIT_Y;
    Ogre::ColourValue sunColour = Ogre::ColourValue::White;
    std::unique_ptr<SceneElement> disc;  // released before the material
    Ogre::MaterialPtr material;
    float radius = 0.0f;
};
}
