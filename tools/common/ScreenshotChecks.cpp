// Pixel checks of screenshots.
#include "ScreenshotChecks.h"

#include <OGRE/OgreColourValue.h>

#include <algorithm>
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

bool check(bool ok, const std::string& what)
{
    std::cout << (ok ? "ok   " : "FAIL ") << what << "\n";
    return ok;
}
