// The float grey picture.
#include "graphics/ToyPictureFloatGrey.h"

#include <algorithm>

ToyPictureFloatGrey::ToyPictureFloatGrey()
{
    allocate();
}

ToyPictureFloatGrey::ToyPictureFloatGrey(std::uint32_t width, std::uint32_t height) : ToyPictureFloat(width, height)
{
    allocate();
}

ToyPictureFloatGrey::ToyPictureFloatGrey(const ToyPicture& other) : ToyPictureFloat(other)
{
    copyFrom(other);
}

ToyPictureFloatGrey::ToyPictureFloatGrey(const ToyPictureFloatGrey& other)
    : ToyPictureFloat(static_cast<const ToyPicture&>(other))
{
    copyPlanesFrom(other);
}

ToyPictureFloatGrey& ToyPictureFloatGrey::operator=(const ToyPicture& other)
{
    copyFrom(other);
    return *this;
}

ToyPictureFloatGrey& ToyPictureFloatGrey::operator=(const ToyPictureFloatGrey& other)
{
    copyPlanesFrom(other);
    return *this;
}

void ToyPictureFloatGrey::setGrey(std::uint32_t x, std::uint32_t y, const float& value)
{
    *greyAt(x, y) = value;
}

float* ToyPictureFloatGrey::greyAt(std::uint32_t x, std::uint32_t y)
{
    return valueAddress(x, y, kGreyPlane);
}

float ToyPictureFloatGrey::getGreyBilinear(float u, float v) const
{
    return valueBilinear(u, v, kGreyPlane);
}

void ToyPictureFloatGrey::clear()
{
    Plane& samples = plane(kGreyPlane);
    std::fill(samples.begin(), samples.end(), 0.0f);
}

ToyColour ToyPictureFloatGrey::getColour(std::uint32_t x, std::uint32_t y) const
{
    return ToyColour(*valueAddress(x, y, kGreyPlane), 1.0f);
}

ToyColour ToyPictureFloatGrey::getColourBilinear(float u, float v) const
{
    return ToyColour(getGreyBilinear(u, v), 1.0f);
}

void ToyPictureFloatGrey::setColour(std::uint32_t x, std::uint32_t y, const ToyColour& colour)
{
    setGrey(x, y, colour.getGrey());
}

void ToyPictureFloatGrey::allocate()
{
    ToyPicture::allocate();
    addPlane(kGreyPlane, 0.0f);
}
