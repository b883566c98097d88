// The pixel checks of the driving test tools: count the pixels of a screen region whose
// colour passes a test, and print each check's verdict.
#pragma once

#include <OGRE/OgreImage.h>
#include <OGRE/OgreVector.h>

#include <cstddef>
#include <functional>
#include <string>

namespace Ogre
{
class Camera;
class RenderWindow;
class SceneManager;
}

// A box of the screen in pixels, right and bottom edges excluded.
struct Region
{
    int x0, y0, x1, y1;
};

size_t countPixels(const Ogre::Image& image, const Region& region,
                   const std::function<bool(int r, int g, int b)>& test);

// The Roadster's red paint, lit or in shade.
bool paintRed(int r, int g, int b);

// Writes the window's contents to path and reads the picture back.
Ogre::Image takeScreenshot(Ogre::RenderWindow& window, const std::string& path);

// The box the car checks look into: around a world point as the camera shows it.
Region regionAround(const Ogre::Camera& camera, const Ogre::Vector3& centre, unsigned screenWidth,
                    unsigned screenHeight);

// A directional light on its own node, pointing along direction.
void addDirectionalLight(Ogre::SceneManager& scene, const std::string& name, const Ogre::Vector3& direction,
                         const Ogre::ColourValue& colour);

// Prints "ok" or "FAIL" with what was checked; returns ok.
bool check(bool ok, const std::string& what);
