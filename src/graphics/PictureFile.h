// Image files for pictures: encoding through the engine's codecs, written whole or not at
// all, and read back by path. ToyPicture's file operations are built on these.
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
// Encodes width × height pixels of format in the format of the path's extension and writes
// the file atomically. False, logged with the path, on any failure.
bool encodeAndWrite(std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height,
                    Ogre::PixelFormat format, const std::string& path);
// Decodes the PNG file at path into image (8-bit grey or RGBA). False, logged with the path,
// for any other file or a damaged one.
bool readImage(const std::string& path, Ogre::Image& image);
}
