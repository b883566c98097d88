// Colour maps: reading the texels in the vertex colour layout and sampling them.
#include "paging/ColorMap.h"

#include "paging/MapSampling.h"
#include "paging/PropertyMapPixels.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreHardwareVertexBuffer.h>

#include <cstring>

namespace
{
// The packed layout vertex colours take on this render system.
Ogre::PixelFormat vertexColourFormat(const char* source)
{
    switch (Ogre::VertexElement::getBestColourVertexElementType())
    {
    case Ogre::VET_COLOUR_ARGB:
        return Ogre::PF_A8R8G8B8;
    case Ogre::VET_COLOUR_ABGR:
        return Ogre::PF_A8B8G8R8;
    default:
        OGRE_EXCEPT(Ogre::Exception::ERR_CANNOT_WRITE_TO_FILE,
                    "Unknown RenderSystem color format", source);
    }
}

uint32_t packGrey(uint8_t value)
{
    return 0xFF000000u | static_cast<uint32_t>(value) << 16 | static_cast<uint32_t>(value) << 8 |
           value;
}
}

ColorMap::ColorMap(std::string mapKey, const Ogre::PixelBox& pixels, MapChannel channel)
    : SharedPropertyMap(std::move(mapKey)), width(pixels.getWidth()), height(pixels.getHeight())
{
    const Ogre::PixelFormat layout = vertexColourFormat("GrassLayer::setColorMap()");
    if (pixels.format == Ogre::PF_L8 && channel == CHANNEL_COLOR)
        channel = CHANNEL_RED;  // grey either way, and full alpha
    colors.resize(static_cast<size_t>(width) * height);
    if (channel == CHANNEL_COLOR)
    {
        const std::vector<uint8_t> packed = PropertyMapPixels::convert(pixels, layout);
        std::memcpy(colors.data(), packed.data(), colors.size() * sizeof(uint32_t));
    }
    else
    {
        const std::vector<uint8_t> bytes =
            PropertyMapPixels::channelBytes(pixels, channel, "ColorMap::ColorMap()");
        for (size_t texel = 0; texel < colors.size(); ++texel)
            colors[texel] = packGrey(bytes[texel]);
    }
}

uint32_t ColorMap::_getColorAt(float x, float z) const
{
    uint32_t texelX = 0;
    uint32_t texelZ = 0;
    if (!MapSampling::nearestTexel(mapBounds, width, height, x, z, texelX, texelZ))
        return 0xFFFFFFFFu;
    return texel(texelX, texelZ);
}

uint32_t ColorMap::_getColorAt_Bilinear(float x, float z) const
{
    MapSampling::Bilinear s{};
    if (!MapSampling::bilinearTexels(mapBounds, width, height, x, z, s))
        return 0u;
    const uint32_t top =
        _interpolateColor(texel(s.x0, s.z0), texel(s.x1, s.z0), s.xRatio, 1.0f - s.xRatio);
    const uint32_t bottom =
        _interpolateColor(texel(s.x0, s.z1), texel(s.x1, s.z1), s.xRatio, 1.0f - s.xRatio);
    return _interpolateColor(top, bottom, s.zRatio, 1.0f - s.zRatio);
}

uint32_t ColorMap::_interpolateColor(uint32_t color1, uint32_t color2, float ratio,
                                     float ratioInv)
{
    uint32_t mixed = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const float byte1 = static_cast<float>((color1 >> shift) & 0xFFu);
        const float byte2 = static_cast<float>((color2 >> shift) & 0xFFu);
        const auto byte = static_cast<uint32_t>(byte1 * ratioInv + byte2 * ratio) & 0xFFu;
        mixed |= byte << shift;
    }
    return mixed;
}

Ogre::ColourValue ColorMap::getColorAt_Unpacked(float x, float z) const
{
    static const bool argb =
        Ogre::VertexElement::getBestColourVertexElementType() == Ogre::VET_COLOUR_ARGB;
    const uint32_t color = getColorAt(x, z);
    const auto byte = [color](int index) {
        return static_cast<float>((color >> (8 * index)) & 0xFFu) / 255.0f;
    };
    if (argb)
        return Ogre::ColourValue(byte(2), byte(1), byte(0), byte(3));
    return Ogre::ColourValue(byte(0), byte(1), byte(2), byte(3));
}
