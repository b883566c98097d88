// Texel conversions of the property maps, through the engine's pixel converter.
#include "paging/PropertyMapPixels.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreImage.h>

Ogre::Image PropertyMapPixels::readTexture(const Ogre::TexturePtr& texture)
{
    const Ogre::HardwarePixelBufferSharedPtr& buffer = texture->getBuffer();
    Ogre::Image image(buffer->getFormat(), buffer->getWidth(), buffer->getHeight());
    buffer->blitToMemory(image.getPixelBox());
    return image;
}

std::vector<uint8_t> PropertyMapPixels::convert(const Ogre::PixelBox& pixels,
                                                Ogre::PixelFormat format)
{
    const uint32_t width = pixels.getWidth();
    const uint32_t height = pixels.getHeight();
    std::vector<uint8_t> bytes(Ogre::PixelUtil::getMemorySize(width, height, 1, format));
    const Ogre::PixelBox target(width, height, 1, format, bytes.data());
    Ogre::PixelUtil::bulkPixelConversion(pixels, target);
    return bytes;
}

std::vector<uint8_t> PropertyMapPixels::channelBytes(const Ogre::PixelBox& pixels,
                                                     MapChannel channel, const char* source)
{
    if (channel < CHANNEL_RED || channel > CHANNEL_ALPHA)
        OGRE_EXCEPT(Ogre::Exception::ERR_CANNOT_WRITE_TO_FILE, "Invalid channel", source);
    // Byte order red, green, blue, alpha in memory on every machine.
    const std::vector<uint8_t> rgba = convert(pixels, Ogre::PF_BYTE_RGBA);
    std::vector<uint8_t> bytes(rgba.size() / 4);
    for (size_t texel = 0; texel < bytes.size(); ++texel)
        bytes[texel] = rgba[texel * 4 + static_cast<size_t>(channel)];
    return bytes;
}
