// Reading a texture's texels into memory for the property maps.
#pragma once

#include "paging/MapChannel.h"

#include <OGRE/OgrePixelFormat.h>
#include <OGRE/OgreTexture.h>

#include <cstdint>
#include <vector>

namespace PropertyMapPixels
{
// The texture's top level, as it stands on the card, in its own format.
Ogre::Image readTexture(const Ogre::TexturePtr& texture);
// The texels converted to the format, row by row without padding.
std::vector<uint8_t> convert(const Ogre::PixelBox& pixels, Ogre::PixelFormat format);
// One byte of the channel per texel (red, green, blue or alpha); throws "Invalid channel"
// naming the source for any other channel.
std::vector<uint8_t> channelBytes(const Ogre::PixelBox& pixels, MapChannel channel,
                                  const char* source);
}
