// The pixel checks of the driving test tools: count the pixels of a screen region whose
// colour passes a test, and print each check's verdict.
#pragma once

#include <OGRE/OgreImage.h>

#include <cstddef>
#include <functional>
#include <string>

// A box of the screen in pixels, right and bottom edges excluded.
struct Region
{
    int x0, y0, x1, y1;
};

size_t countPixels(const Ogre::Image& image, const Region& region,
                   const std::function<bool(int r, int g, int b)>& test);

// The Roadster's red paint, lit or in shade.
bool paintRed(int r, int g, int b);

// Prints "ok" or "FAIL" with what was checked; returns ok.
bool check(bool ok, const std::string& what);
