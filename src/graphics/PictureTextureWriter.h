// Writes a picture into a locked texture buffer: each pixel packed in the buffer's real
// pixel format and rows stepped by its real row pitch, whatever format was asked for.
#pragma once

namespace Ogre
{
class PixelBox;
}
class ToyPicture;

namespace PictureTextureWriter
{
// Fills the whole box from the picture (a box larger than the picture repeats its last
// column and row). Returns false, writing nothing, for a format that cannot be packed
// or an empty picture.
bool write(const ToyPicture& picture, const Ogre::PixelBox& box);
}
