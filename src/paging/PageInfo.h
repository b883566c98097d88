// What a page loader receives for one page.
#pragma once

#include "paging/TBounds.h"

#include <OGRE/OgreVector.h>

struct PageInfo
{
    TBounds bounds;                        // the page's square, centre ± half a page
    Ogre::Vector3 centerPoint = Ogre::Vector3::ZERO;  // y = 0
    int xIndex = 0;                        // grid position in world terms
    int zIndex = 0;
    void* userData = nullptr;              // the loader's own, handed back at unload
};
