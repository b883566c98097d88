// The sky's sun: light, disc and colours.
#include "sky/Sun.h"

#include "sky/SkyResourceGroup.h"
#include "sky/SunPositionModel.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreLight.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreTechnique.h>

#include <cmath>

namespace sky
{
namespace
{
const char* const kLightName = "SkySun";
const char* const kEntityName = "SkySun";
const char* const kMaterialName = "SkySunMaterial";
constexpr float kLightPowerScale = 10.0f;
constexpr Ogre::uint8 kRenderQueue = 8;       // after the starfield (6) and the dome (7)
constexpr float kTanDiscAngle = 0.000174533f;  // tan(0.01 degrees)
constexpr float kClipMargin = 0.1f;

void log(const std::string& line)
{
    Ogre::LogManager::getSingleton().logMessage(line);
}
}

Sun::Sun(Ogre::SceneManager* manager) : sceneManager(manager)
{
    try
    {
        build();
    }
    catch (...)
    {
        release();  // the destructor does not run for a sun that was never made
        throw;
    }
}

void Sun::build()
{
    light = sceneManager->createLight(kLightName);
    light->setType(Ogre::Light::LT_DIRECTIONAL);
    light->setPowerScale(kLightPowerScale);
    light->setCastShadows(false);
    lightNode = sceneManager->getRootSceneNode()->createChildSceneNode();
    lightNode->attachObject(light);
    lightNode->setDirection(sunDirection, Ogre::Node::TS_WORLD);

    createSunMaterial();
    // The disc is the media's sphere: its size in mesh units sets the disc's apparent size.
    disc = std::make_unique<SceneElement>(sceneManager, kEntityName, kMeshName, kMaterialName, kRenderQueue);
}

Sun::~Sun()
{
    release();
}

void Sun::release()
{
    disc.reset();
    if (lightNode)
    {
        lightNode->detachAllObjects();
        sceneManager->destroySceneNode(lightNode);
        lightNode = nullptr;
    }
    if (light)
    {
        sceneManager->destroyLight(light);
        light = nullptr;
    }
    destroySunMaterial();
}

std::unique_ptr<SunPositionModel> Sun::setSunPositionModel(std::unique_ptr<SunPositionModel> model)
{
    std::swap(model, positionModel);
    return model;
}

void Sun::update(float relativeDayTime)
{
    sunDirection = positionModel ? positionModel->getSunDirection(relativeDayTime) : Ogre::Vector3::NEGATIVE_UNIT_Y;
    lightNode->setDirection(sunDirection, Ogre::Node::TS_WORLD);
}

void Sun::setSunColours(const Ogre::ColourValue& colour)
{
    const Ogre::ColourValue light3 = colour * Ogre::ColourValue(1.0f, 1.0f, 0.9f, 1.0f) * 3.0f;
    light->setDiffuseColour(light3);
    light->setSpecularColour(light3);
    material->getTechnique(0)->getPass(0)->setSelfIllumination(light3 + Ogre::ColourValue(0.5f, 0.4f, 0.2f, 1.0f));
    sunColour = light3;
}

void Sun::followCamera(const Ogre::Camera* camera)
{
    float side = 1.0f;
    if (autoRadius)
    {
        const float farClip = camera->getFarClipDistance();
        if (farClip > 0.0f)
        {
            radius = (farClip - kClipMargin) * 0.5f;
            side = -1.0f;
        }
        else
            radius = (camera->getNearClipDistance() + kClipMargin) * 2.0f;
    }
    const float distance = radius + kTanDiscAngle * radius * side;
    Ogre::SceneNode* node = disc->getNode();
    node->setPosition(camera->getRealPosition() - sunDirection * distance);
    const float scale = distance * kTanDiscAngle;
    node->setScale(scale, scale, scale);
}

void Sun::setFarDistance(float distance)
{
    if (distance > 0.0f)
    {
        radius = distance;
        autoRadius = false;
    }
    else
        autoRadius = true;
}

void Sun::createSunMaterial()
{
    log("Generating sun material...");
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    material = materials.getByName(kMaterialName, getSkyResourceGroupName());
    if (!material)
    {
        log("\tMaterial not found; creating...");
        material = materials.create(kMaterialName, getSkyResourceGroupName());
        log("\t\tMaterial [OK]");
        Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        pass->setDepthCheckEnabled(false);
        pass->setDepthWriteEnabled(false);
        pass->setFog(true);
        pass->setAmbient(Ogre::ColourValue::Black);
        pass->setDiffuse(Ogre::ColourValue::Black);
        pass->setSpecular(Ogre::ColourValue::Black);
        log("\t\tPass [OK]");
        material->load();
        log("\tDONE");
    }
    log("DONE");
}

void Sun::destroySunMaterial()
{
    log("Removing sun material...");
    if (material)
    {
        const std::string group = material->getGroup();
        material.reset();
        Ogre::MaterialManager::getSingleton().remove(kMaterialName, group);
    }
    log("DONE");
}
}
