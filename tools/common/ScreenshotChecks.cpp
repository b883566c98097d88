// Pixel checks of screenshots.
#include "ScreenshotChecks.h"

#include <OGRE/Ogre.h>

#include <algorithm>
#include <fstream>
#include <iostream>

size_t countPixels(const Ogre::Image& image, const Region& region,
                   const std::function<bool(int r, int g, int b)>& test)
{
    size_t count = 0;
    for (int y = std::max(0, region.y0); y < std::min<int>(image.getHeight(), region.y1); ++y)
        for (int x = std::max(0, region.x0); x < std::min<int>(image.getWidth(), region.x1); ++x)
        {
            const Ogre::ColourValue c = image.getColourAt(x, y, 0);
            if (test(int(c.r * 255), int(c.g * 255), int(c.b * 255)))
                ++count;
        }
    return count;
}

bool paintRed(int r, int g, int b)
{
    return r > 60 && r > 2 * g && r > 2 * b;
}

Ogre::Image takeScreenshot(Ogre::RenderWindow& window, const std::string& path)
{
    window.writeContentsToFile(path);
    Ogre::Image image;
    image.load(Ogre::DataStreamPtr(new Ogre::FileStreamDataStream(new std::ifstream(path, std::ios::binary))), "png");
    return image;
}

Region regionAround(const Ogre::Camera& camera, const Ogre::Vector3& centre, unsigned screenWidth,
                    unsigned screenHeight)
{
    const Ogre::Vector3 projected = camera.getProjectionMatrix() * (camera.getViewMatrix() * centre);
    const int x = static_cast<int>((projected.x * 0.5f + 0.5f) * screenWidth);
    const int y = static_cast<int>((0.5f - projected.y * 0.5f) * screenHeight);
    return Region{x - 200, y - 200, x + 200, y + 150};
}

void addDirectionalLight(Ogre::SceneManager& scene, const std::string& name, const Ogre::Vector3& direction,
                         const Ogre::ColourValue& colour)
{
    Ogre::Light* light = scene.createLight(name);
    light->setType(Ogre::Light::LT_DIRECTIONAL);
    light->setDiffuseColour(colour);
    scene.getRootSceneNode()->createChildSceneNode()->attachObject(light);
    light->getParentSceneNode()->setDirection(direction.normalisedCopy(), Ogre::Node::TS_WORLD);
}

bool check(bool ok, const std::string& what)
{
    std::cout << (ok ? "ok   " : "FAIL ") << what << "\n";
    return ok;
}
