// Answers every light query of the objects it listens to with the same two lights, the
// scene's shadow light and the sky's sun, whatever lights the engine would have chosen.
#pragma once

#include <OGRE/OgreCommon.h>
#include <OGRE/OgreMovableObject.h>

namespace Ogre
{
class SceneManager;
}

class LightSorter : public Ogre::MovableObject::Listener
{
public:
    // Looks both lights up by name; the engine throws when one is missing.
    explicit LightSorter(Ogre::SceneManager* sceneManager);
    ~LightSorter() override = default;

    // The shadow light, then the sun, for any object.
    const Ogre::LightList* objectQueryLights(const Ogre::MovableObject* object) override;

    // The scene's shadow-casting light, made by the race scene.
    static constexpr const char* kShadowLightName = "shadowLight";
    // The sun's directional light, made by the sky (or by the race scene without it).
    static constexpr const char* kSunLightName = "SkySun";

private:
    Ogre::LightList lights;  // the lights belong to the scene
};
