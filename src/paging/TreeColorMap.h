// The colour map of a tree loader: swapped for another texture's, releasing the old one.
#pragma once

#include "paging/MapChannel.h"
#include "paging/TBounds.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreTexture.h>

#include <string>

class ColorMap;

namespace TreeColorMap
{
// Releases old and returns the shared map of the texture over bounds, or null for a null
// texture.
ColorMap* replace(ColorMap* old, const Ogre::TexturePtr& texture, MapChannel channel, const TBounds& bounds,
                  MapFilter filter);
// The texture by name from the default group; an empty name gives null.
Ogre::TexturePtr byName(const std::string& name);
void release(ColorMap*& map);
// White without a map.
Ogre::ColourValue colourAt(const ColorMap* map, float x, float z);
}
