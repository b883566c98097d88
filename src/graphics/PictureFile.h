// PNG files for pictures, encoded and decoded by libpng, written whole or not at all, and read
// back by path. ToyPicture's file operations are built on these.
#pragma once

#include <OGRE/OgrePixelFormat.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Ogre
{
class Image;
}

namespace PictureFile
{
// Encodes width × height pixels, PF_L8 or PF_BYTE_RGBA, as PNG and writes the file atomically,
// compressed for speed: the game writes only files it reads back itself.
// False, logged with the path, on any failure, a path not ending in ".png" among them.
bool encodeAndWrite(const std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height,
                    Ogre::PixelFormat format, const std::string& path);
// Decodes the PNG file at path into image (8-bit grey or RGBA). False, logged with the path,
// for any other file or a damaged one.
bool readImage(const std::string& path, Ogre::Image& image);
}
