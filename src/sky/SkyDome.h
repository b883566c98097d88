// The sky dome: a sphere around the camera, coloured from a gradient picture by the sky
// colour model, darkened and tinted by the sun's direction in its GPU programs.
#pragma once

#include "sky/CameraBoundElement.h"
#include "sky/SceneElement.h"
#include "sky/ShaderSupport.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreVector.h>

#include <memory>

namespace Ogre
{
class SceneManager;
class TextureUnitState;
}

namespace sky
{
class SkyColourModel;
class Sun;

class SkyDome : public CameraBoundElement
{
public:
    // Throws "Unable to load sky shader." when a program the render system offers fails.
    explicit SkyDome(Ogre::SceneManager* sceneManager, ShaderSupport shaders = ShaderSupport::fromRenderSystem());
    ~SkyDome() override;
    SkyDome(const SkyDome&) = delete;
    SkyDome& operator=(const SkyDome&) = delete;

    void followCamera(const Ogre::Camera* camera) override;
    void setFarDistance(float distance) override;

    // The texture unit that shows the gradient; null without a material.
    Ogre::TextureUnitState* getGradientTextureUnit() const;
    // Lets the colour model set the gradient column and the programs for the moment.
    void updateMaterial(SkyColourModel* model, float relativeDayTime, const Sun* sun);
    void setSunDirection(const Ogre::Vector3& direction);
    void setAtmosphereHeight(float height);
    void setLightScattering(float scattering);
    void setLightAbsorption(float absorption);
    Ogre::SceneNode* getNode() const { return element->getNode(); }
    const Ogre::MaterialPtr& getMaterial() const { return material; }

private:
    void build();
    // Releases whatever exists, also after a failed build.
    void release();
    void createSkyDomeMaterial();
    void destroySkyDomeMaterial();
    void loadProgram(const char* name, int type);

    Ogre::SceneManager* sceneManager;
    ShaderSupport shaders;
    std::unique_ptr<SceneElement> element;  // released before the material
    Ogre::MaterialPtr material;
};
}
