// The fixed light list of the car.
#include "graphics/LightSorter.h"

#include <OGRE/OgreSceneManager.h>

LightSorter::LightSorter(Ogre::SceneManager* sceneManager)
{
    lights.push_back(sceneManager->getLight(kShadowLightName));
    lights.push_back(sceneManager->getLight(kSunLightName));
}

const Ogre::LightList* LightSorter::objectQueryLights(const Ogre::MovableObject*)
{
    return &lights;
}
