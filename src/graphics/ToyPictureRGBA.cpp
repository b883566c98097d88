// The 8-bit colour picture.
#include "graphics/ToyPictureRGBA.h"

#include "graphics/ToyPictureGrey.h"

#include <OGRE/OgreImage.h>

#include <algorithm>
#include <cstddef>

ToyPictureRGBA::ToyPictureRGBA()
{
    allocate();
}

ToyPictureRGBA::ToyPictureRGBA(std::uint32_t width, std::uint32_t height) : ToyPictureUChar(width, height)
{
    allocate();
}

ToyPictureRGBA::ToyPictureRGBA(const ToyPicture& other) : ToyPictureUChar(other)
{
    copyFrom(other);
}

ToyPictureRGBA::ToyPictureRGBA(const ToyPictureRGBA& other) : ToyPictureUChar(static_cast<const ToyPicture&>(other))
{
    copyPlanesFrom(other);
}

ToyPictureRGBA& ToyPictureRGBA::operator=(const ToyPicture& other)
{
    copyFrom(other);
    return *this;
}

ToyPictureRGBA& ToyPictureRGBA::operator=(const ToyPictureRGBA& other)
{
    copyPlanesFrom(other);
    return *this;
}

void ToyPictureRGBA::setRGBA(std::uint32_t x, std::uint32_t y, const std::uint8_t& red, const std::uint8_t& green,
                             const std::uint8_t& blue, const std::uint8_t& alpha)
{
    *redAt(x, y) = red;
    *greenAt(x, y) = green;
    *blueAt(x, y) = blue;
    *alphaAt(x, y) = alpha;
}

std::uint8_t* ToyPictureRGBA::redAt(std::uint32_t x, std::uint32_t y) { return valueAddress(x, y, kRedPlane); }
std::uint8_t* ToyPictureRGBA::greenAt(std::uint32_t x, std::uint32_t y) { return valueAddress(x, y, kGreenPlane); }
std::uint8_t* ToyPictureRGBA::blueAt(std::uint32_t x, std::uint32_t y) { return valueAddress(x, y, kBluePlane); }
std::uint8_t* ToyPictureRGBA::alphaAt(std::uint32_t x, std::uint32_t y) { return valueAddress(x, y, kAlphaPlane); }

void ToyPictureRGBA::clear(const std::uint8_t& red, const std::uint8_t& green, const std::uint8_t& blue,
                           const std::uint8_t& alpha)
{
    for (const auto& [name, value] : {std::make_pair(kRedPlane, red), std::make_pair(kGreenPlane, green),
                                      std::make_pair(kBluePlane, blue), std::make_pair(kAlphaPlane, alpha)})
    {
        Plane& samples = plane(name);
        std::fill(samples.begin(), samples.end(), value);
    }
}

ToyColour ToyPictureRGBA::getColour(std::uint32_t x, std::uint32_t y) const
{
    return ToyColour(*valueAddress(x, y, kRedPlane), *valueAddress(x, y, kGreenPlane), *valueAddress(x, y, kBluePlane),
                     *valueAddress(x, y, kAlphaPlane));
}

void ToyPictureRGBA::getRowBytes(std::uint32_t y, std::uint8_t* rgba) const
{
    std::uint32_t x = 0;
    clampCoordinates(x, y);
    const std::uint8_t* rows[] = {valueAddress(0, y, kRedPlane), valueAddress(0, y, kGreenPlane),
                                  valueAddress(0, y, kBluePlane), valueAddress(0, y, kAlphaPlane)};
    for (std::uint32_t i = 0; i < getWidth(); ++i, rgba += 4)
        for (int channel = 0; channel < 4; ++channel)
            rgba[channel] = rows[channel][i];
}

void ToyPictureRGBA::fillFromImage(const Ogre::Image& image)
{
    if (image.getFormat() != Ogre::PF_BYTE_RGBA)
    {
        ToyPicture::fillFromImage(image);
        return;
    }
    const std::uint32_t w = image.getWidth();
    const std::uint32_t h = image.getHeight();
    resize(w, h, false);
    const Ogre::PixelBox box = image.getPixelBox();
    for (std::uint32_t y = 0; y < h; ++y)
    {
        const std::uint8_t* in = box.data + static_cast<std::size_t>(y) * box.rowPitch * 4;
        std::uint8_t* rows[] = {redAt(0, y), greenAt(0, y), blueAt(0, y), alphaAt(0, y)};
        for (std::uint32_t x = 0; x < w; ++x, in += 4)
            for (int channel = 0; channel < 4; ++channel)
                rows[channel][x] = in[channel];
    }
}

void ToyPictureRGBA::setColour(std::uint32_t x, std::uint32_t y, const ToyColour& colour)
{
    setRGBA(x, y, colour.getRedByte(), colour.getGreenByte(), colour.getBlueByte(), colour.getAlphaByte());
}

void ToyPictureRGBA::allocate()
{
    ToyPicture::allocate();
    constexpr std::uint8_t kOpaque = 255;
    addPlane(kRedPlane, 0);
    addPlane(kGreenPlane, 0);
    addPlane(kBluePlane, 0);
    addPlane(kAlphaPlane, kOpaque);
}

void ToyPictureRGBA::multiplyRegion(std::uint32_t x, std::uint32_t y, const ToyPictureGrey& grey)
{
    // A window starting past the edge is empty rather than wrapping round.
    if (x > getWidth() || y > getHeight())
        return;
    const std::uint32_t windowWidth = std::min(getWidth() - x, grey.getWidth());
    const std::uint32_t windowHeight = std::min(getHeight() - y, grey.getHeight());
    Plane* targets[] = {&plane(kRedPlane), &plane(kGreenPlane), &plane(kBluePlane), &plane(kAlphaPlane)};
    const std::uint8_t* greyData = grey.getGreyData();
    for (std::uint32_t i = 0; i < windowWidth; ++i)
    {
        for (std::uint32_t j = 0; j < windowHeight; ++j)
        {
            const std::size_t k = (x + i) + static_cast<std::size_t>(getWidth()) * (y + j);
            const unsigned m = greyData[static_cast<std::size_t>(j) * grey.getWidth() + i];
            for (Plane* target : targets)
                (*target)[k] = static_cast<std::uint8_t>(((*target)[k] * m) >> 8);
        }
    }
}
