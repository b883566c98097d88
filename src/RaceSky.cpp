// The race's advanced sky.
#include "RaceSky.h"

#include "physic/MeshEntity.h"
#include "sky/DayClock.h"
#include "sky/SimpleSunPositionModel.h"
#include "sky/SkyDome.h"
#include "sky/SkySystem.h"
#include "sky/Starfield.h"
#include "sky/StoredImageElvBasedSkyColourModel.h"
#include "sky/Sun.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreSceneNode.h>

namespace
{
const char* const kGradient = "SkyGradient.png";
const char* const kStarfield = "Starfield.jpg";
const char* const kResourceGroup = "Sky";
}

RaceSky::RaceSky() = default;

RaceSky::~RaceSky()
{
    destroy();
}

bool RaceSky::create(Ogre::Root* root, Ogre::SceneManager* sceneManager, Ogre::RenderWindow* renderWindow,
                     std::string& error)
{
    destroy();
    try
    {
        // The engine would draw a mesh cut short as far as it goes.
        checkMeshFile(sky::Sun::kMeshName, kResourceGroup);
        skySystem = std::make_unique<sky::SkySystem>(root, sceneManager, true, kResourceGroup, true, true, true);
        skySystem->getSun()->setSunPositionModel(
            std::make_unique<sky::SimpleSunPositionModel>(Ogre::Degree(kInclinationDegrees)));
        colourModel = std::make_unique<sky::StoredImageElvBasedSkyColourModel>();
        skySystem->setSkyColourModel(colourModel.get());
        colourModel->setSkyGradientsImage(kGradient);
        colourModel->setFogDensity(kFogDensity);
        skySystem->setManageFog(true);
        skySystem->getStarfield()->setInclination(Ogre::Degree(kInclinationDegrees));
        skySystem->createStarfield(kStarfield);
        // Hidden until the sky's first update has placed the sun, so that a race by day never
        // loads the star map.
        skySystem->getStarfield()->getNode()->setVisible(false);
        skySystem->getSkyDome()->setFarDistance(kFarDistance);
        skySystem->getStarfield()->setFarDistance(kFarDistance);
        skySystem->getDayClock()->setCurrentTime(kHour * 3600 + kMinute * 60 + kSecond);
        skySystem->getDayClock()->setTimeScale(0.0f);
        skySystem->addListener(this);
    }
    catch (const Ogre::Exception& failure)
    {
        error = failure.getDescription();
        destroy();
        return false;
    }
    window = renderWindow;
    if (window)
        window->addListener(skySystem.get());
    return true;
}

bool RaceSky::skyUpdateFinished(const Ogre::FrameEvent&, sky::SkySystem* sky)
{
    if (sky->getStarfield() && sky->getStarfield()->getNode() && sky->getSun())
        sky->getStarfield()->getNode()->setVisible(sky->getSun()->getSunDirection().y >= 0.0f);
    return true;
}

void RaceSky::destroy()
{
    if (window && skySystem)
        window->removeListener(skySystem.get());
    window = nullptr;
    if (skySystem)
    {
        skySystem->removeListener(this);
        skySystem->shutdown(true);
    }
    skySystem.reset();
    colourModel.reset();
}
