// The 8-bit grey picture.
#include "graphics/ToyPictureGrey.h"

#include <algorithm>

namespace
{
constexpr std::uint8_t kOpaqueByte = 255;
}

ToyPictureGrey::ToyPictureGrey()
{
    allocate();
}

ToyPictureGrey::ToyPictureGrey(std::uint32_t width, std::uint32_t height) : ToyPictureUChar(width, height)
{
    allocate();
}

ToyPictureGrey::ToyPictureGrey(const ToyPicture& other) : ToyPictureUChar(other)
{
    copyFrom(other);
}

ToyPictureGrey::ToyPictureGrey(const ToyPictureGrey& other) : ToyPictureUChar(other)
{
}

ToyPictureGrey& ToyPictureGrey::operator=(const ToyPicture& other)
{
    copyFrom(other);
    return *this;
}

ToyPictureGrey& ToyPictureGrey::operator=(const ToyPictureGrey& other)
{
    setWidth(other.getWidth());
    setHeight(other.getHeight());
    planes = other.planes;
    return *this;
}

void ToyPictureGrey::setGrey(std::uint32_t x, std::uint32_t y, const std::uint8_t& value)
{
    *greyAt(x, y) = value;
}

std::uint8_t* ToyPictureGrey::greyAt(std::uint32_t x, std::uint32_t y)
{
    return valueAddress(x, y, kGreyPlane);
}

std::uint8_t ToyPictureGrey::getGreyBilinear(float u, float v) const
{
    return valueBilinear(u, v, kGreyPlane);
}

void ToyPictureGrey::clear(const std::uint8_t& value)
{
    Plane& samples = plane(kGreyPlane);
    std::fill(samples.begin(), samples.end(), value);
}

std::uint8_t* ToyPictureGrey::getGreyData()
{
    return plane(kGreyPlane).data();
}

const std::uint8_t* ToyPictureGrey::getGreyData() const
{
    return plane(kGreyPlane).data();
}

void ToyPictureGrey::getRowBytes(std::uint32_t y, std::uint8_t* rgba) const
{
    std::uint32_t x = 0;
    clampCoordinates(x, y);
    const std::uint8_t* grey = getGreyData() + static_cast<std::size_t>(y) * getWidth();
    for (std::uint32_t i = 0; i < getWidth(); ++i, rgba += 4)
    {
        rgba[0] = rgba[1] = rgba[2] = grey[i];
        rgba[3] = kOpaqueByte;
    }
}

ToyColour ToyPictureGrey::getColour(std::uint32_t x, std::uint32_t y) const
{
    return ToyColour(*valueAddress(x, y, kGreyPlane), kOpaqueByte);
}

ToyColour ToyPictureGrey::getColourBilinear(float u, float v) const
{
    return ToyColour(getGreyBilinear(u, v), kOpaqueByte);
}

void ToyPictureGrey::setColour(std::uint32_t x, std::uint32_t y, const ToyColour& colour)
{
    setGrey(x, y, colour.getGreyByte());
}

void ToyPictureGrey::allocate()
{
    ToyPicture::allocate();
    addPlane(kGreyPlane, 0);
}
