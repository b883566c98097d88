// The sky system: clock, elements, fog, and following the viewports' cameras.
#include "sky/SkySystem.h"

#include "sky/DayClock.h"
#include "sky/SkyColourModel.h"
#include "sky/SkyDome.h"
#include "sky/SkyListener.h"
#include "sky/SkyResourceGroup.h"
#include "sky/Starfield.h"
#include "sky/Sun.h"

#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreViewport.h>

#include <algorithm>

namespace sky
{
namespace
{
constexpr float kFogColourScale = 0.7f;
const char* const kDefaultStarfield = "Starfield.jpg";

void log(const std::string& line)
{
    Ogre::LogManager::getSingleton().logMessage(line);
}
}

SkySystem::SkySystem(Ogre::Root* engineRoot, Ogre::SceneManager* manager, bool createResourceGroup,
                     const std::string& resourceGroupName, bool createDome, bool createTheSun, bool createStars)
    : root(engineRoot), sceneManager(manager)
{
    log("Initialising sky system...");
    setSkyResourceGroupName(resourceGroupName);
    if (createResourceGroup)
    {
        const Ogre::StringVector groups = Ogre::ResourceGroupManager::getSingleton().getResourceGroups();
        if (std::find(groups.begin(), groups.end(), resourceGroupName) == groups.end())
        {
            Ogre::ResourceGroupManager::getSingleton().createResourceGroup(resourceGroupName);
            resourceGroupCreated = true;
            log("Created sky resource group (" + resourceGroupName + ")");
        }
    }
    dayClock = std::make_unique<DayClock>();
    log("System attributes set up.");
    try
    {
        if (createDome)
            createSkyDome();
        if (createTheSun)
            createSun();
        if (createStars)
            createStarfield(kDefaultStarfield);
    }
    catch (...)
    {
        shutdown(false);
        throw;
    }
    root->addFrameListener(this);
    registeredWithRoot = true;
    log("DONE");
}

SkySystem::~SkySystem()
{
    if (dayClock)
        shutdown(true);
    log("Sky system destroyed.");
}

void SkySystem::shutdown(bool detachFromRoot)
{
    log("Shutting down sky system...");
    if (detachFromRoot && registeredWithRoot)
    {
        root->removeFrameListener(this);
        registeredWithRoot = false;
    }
    listeners.clear();
    destroySkyDome();
    destroySun();
    destroyStarfield();
    dayClock.reset();
    if (resourceGroupCreated)
    {
        Ogre::ResourceGroupManager::getSingleton().destroyResourceGroup(getSkyResourceGroupName());
        resourceGroupCreated = false;
        log("Destroyed sky resource group");
    }
}

SkyDome* SkySystem::createSkyDome()
{
    if (!skyDome)
    {
        skyDome = std::make_unique<SkyDome>(sceneManager);
        log("Sky Dome created.");
    }
    return skyDome.get();
}

Sun* SkySystem::createSun()
{
    if (!sun)
    {
        sun = std::make_unique<Sun>(sceneManager);
        log("Sun created.");
    }
    return sun.get();
}

Starfield* SkySystem::createStarfield(const std::string& textureName)
{
    if (!starfield)
    {
        starfield = std::make_unique<Starfield>(sceneManager);
        log("Starfield created.");
    }
    starfield->setStarfieldTexture(textureName);
    return starfield.get();
}

void SkySystem::destroySkyDome()
{
    if (skyDome)
    {
        skyDome.reset();
        log("Sky Dome destroyed.");
    }
}

void SkySystem::destroySun()
{
    if (sun)
    {
        sun.reset();
        log("Sun destroyed.");
    }
}

void SkySystem::destroyStarfield()
{
    if (starfield)
    {
        starfield.reset();
        log("Starfield destroyed.");
    }
}

void SkySystem::setSkyColourModel(SkyColourModel* model)
{
    colourModel = model;
    if (colourModel && skyDome && skyDome->getGradientTextureUnit())
        colourModel->setGradientTextureUnit(skyDome->getGradientTextureUnit());
}

bool SkySystem::fireUpdateStarted(const Ogre::FrameEvent& event)
{
    for (SkyListener* listener : listeners)
        if (!listener->skyUpdateStarted(event, this))
            return false;
    return true;
}

bool SkySystem::fireUpdateFinished(const Ogre::FrameEvent& event)
{
    for (SkyListener* listener : listeners)
        if (!listener->skyUpdateFinished(event, this))
            return false;
    return true;
}

bool SkySystem::frameStarted(const Ogre::FrameEvent& event)
{
    if (!dayClock || !dayClock->update(event.timeSinceLastFrame))
        return true;
    if (!fireUpdateStarted(event))
        return false;
    const float time = dayClock->getCurrentRelativeDayTime();
    if (sun)
        sun->update(time);
    if (starfield)
        starfield->update(time);
    const Ogre::Vector3 sunDirection = sun ? sun->getSunDirection() : Ogre::Vector3::UNIT_Y;
    if (skyDome)
    {
        skyDome->updateMaterial(colourModel, time, sun.get());
        skyDome->setSunDirection(sunDirection);
    }
    if (manageFog && colourModel)
    {
        const float density = colourModel->getFogDensity(time, sunDirection);
        const Ogre::ColourValue colour = colourModel->getFogColour(time, sunDirection) * kFogColourScale;
        sceneManager->setFog(Ogre::FOG_EXP2, colour, density, 0.0f, 1.0f);
    }
    if (sun)
        sun->setSunColours(colourModel ? colourModel->getSunColour(time, sunDirection) : sceneManager->getFogColour());
    return fireUpdateFinished(event);
}

void SkySystem::preViewportUpdate(const Ogre::RenderTargetViewportEvent& event)
{
    const Ogre::Camera* camera = event.source ? event.source->getCamera() : nullptr;
    if (!camera)
        return;
    if (skyDome)
        skyDome->followCamera(camera);
    if (sun)
        sun->followCamera(camera);
    if (starfield)
        starfield->followCamera(camera);
}
}
