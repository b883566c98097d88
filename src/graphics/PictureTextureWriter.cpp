// Packs picture pixels into a texture's pixel box.
#include "graphics/PictureTextureWriter.h"

#include "LogStream.h"
#include "graphics/ToyPicture.h"
#include "graphics/ToyPictureGrey.h"

#include <OGRE/OgrePixelFormat.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

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
    if (picture.getWidth() == 0 || picture.getHeight() == 0)
    {
        debugLog() << "PictureTextureWriter: an empty picture has no pixels for a texture" << std::endl;
        return false;
    }
    const std::size_t pixelBytes = Ogre::PixelUtil::getNumElemBytes(box.format);
    Ogre::uchar* const topLeft = box.getTopLeftFrontPixelPtr();
    const std::uint32_t width = box.getWidth();
    const std::uint32_t height = box.getHeight();
    const std::uint32_t pictureWidth = picture.getWidth();
    const auto* grey = dynamic_cast<const ToyPictureGrey*>(&picture);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(pictureWidth) * 4);
    // Row by row: megapixel lightmaps and colour maps go through here at every race load.
    for (std::uint32_t y = 0; y < height; ++y)
    {
        Ogre::uchar* target = topLeft + static_cast<std::size_t>(y) * box.rowPitch * pixelBytes;
        if (grey && box.format == Ogre::PF_L8 && width <= pictureWidth)
        {
            const std::uint32_t pictureY = std::min(y, picture.getHeight() - 1);
            std::memcpy(target, grey->getGreyData() + static_cast<std::size_t>(pictureY) * pictureWidth, width);
            continue;
        }
        picture.getRowBytes(y, row.data());
        for (std::uint32_t x = 0; x < width; ++x, target += pixelBytes)
        {
            const std::uint8_t* pixel = row.data() + static_cast<std::size_t>(std::min(x, pictureWidth - 1)) * 4;
            Ogre::PixelUtil::packColour(pixel[0], pixel[1], pixel[2], pixel[3], box.format, target);
        }
    }
    return true;
}
}
