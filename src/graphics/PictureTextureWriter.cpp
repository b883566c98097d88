// Packs picture pixels into a texture's pixel box.
#include "graphics/PictureTextureWriter.h"

#include "LogStream.h"
#include "graphics/ToyPicture.h"

#include <OGRE/OgrePixelFormat.h>

#include <cstddef>

namespace PictureTextureWriter
{
bool write(const ToyPicture& picture, const Ogre::PixelBox& box)
{
    if (!box.data || !Ogre::PixelUtil::isAccessible(box.format) || Ogre::PixelUtil::isCompressed(box.format))
    {
        debugLog() << "PictureTextureWriter: cannot write a picture into a texture of format "
                   << Ogre::PixelUtil::getFormatName(box.format) << std::endl;
        return false;
    }
    const std::size_t pixelBytes = Ogre::PixelUtil::getNumElemBytes(box.format);
    Ogre::uchar* const topLeft = box.getTopLeftFrontPixelPtr();
    const std::uint32_t width = box.getWidth();
    const std::uint32_t height = box.getHeight();
    for (std::uint32_t x = 0; x < width; ++x)
    {
        for (std::uint32_t y = 0; y < height; ++y)
        {
            const ToyColour colour = picture.getColour(x, y);
            Ogre::uchar* target = topLeft + (static_cast<std::size_t>(y) * box.rowPitch + x) * pixelBytes;
            Ogre::PixelUtil::packColour(colour.getRedByte(), colour.getGreenByte(), colour.getBlueByte(),
                                        colour.getAlphaByte(), box.format, target);
        }
    }
    return true;
}
}
