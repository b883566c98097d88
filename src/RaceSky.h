// The race's advanced sky: the sky system with dome, sun and stars, coloured by the
// gradient picture, its clock standing at ten in the morning. Anything that fails to build
// leaves no sky behind, and the race uses its plain sky box instead.
#pragma once

#include "sky/SkyListener.h"

#include <memory>
#include <string>

namespace Ogre
{
class RenderWindow;
class Root;
class SceneManager;
}

namespace sky
{
class SkySystem;
class StoredImageElvBasedSkyColourModel;
}

class RaceSky : private sky::SkyListener
{
public:
    static constexpr float kInclinationDegrees = 13.0f;
    static constexpr float kFogDensity = 0.0015f;
    static constexpr float kFarDistance = 5000.0f;  // world units
    static constexpr int kHour = 10, kMinute = 0, kSecond = 0;

    RaceSky();
    ~RaceSky();
    RaceSky(const RaceSky&) = delete;
    RaceSky& operator=(const RaceSky&) = delete;

    // Builds the sky; false with the reason when it could not (nothing is left behind).
    // The window, when given, moves the sky to each viewport's camera.
    bool create(Ogre::Root* root, Ogre::SceneManager* sceneManager, Ogre::RenderWindow* window, std::string& error);
    // Detaches the sky from the window and the frame loop and releases it.
    void destroy();
    sky::SkySystem* getSkySystem() const { return skySystem.get(); }

private:
    // The stars are drawn only while the sun is down: by day the gradient is opaque and
    // hides them, and a whole-screen pass for nothing costs a software renderer dearly.
    bool skyUpdateStarted(const Ogre::FrameEvent&, sky::SkySystem*) override { return true; }
    bool skyUpdateFinished(const Ogre::FrameEvent& event, sky::SkySystem* sky) override;

    Ogre::RenderWindow* window = nullptr;
    std::unique_ptr<sky::StoredImageElvBasedSkyColourModel> colourModel;
    std::unique_ptr<sky::SkySystem> skySystem;
};
