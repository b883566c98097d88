// The picture library's abstract image: a size and pixels read and written as ToyColour,
// with sampling and the pixel-wise compositing every kind shares.
#pragma once

#include "graphics/ToyColour.h"

#include <cstdint>
#include <string>

namespace Ogre
{
class Image;
}

class ToyPicture
{
public:
    // Quarter turns for rotate; x runs to the right, y downward.
    enum RotateMode : int
    {
        kQuarterClockwise = 0,
        kHalfTurn = 1,
        kQuarterAnticlockwise = 2,
    };

    ToyPicture() = default;
    // A zero width or height becomes 1.
    ToyPicture(std::uint32_t width, std::uint32_t height);
    // Takes the other's size only.
    explicit ToyPicture(const ToyPicture& other);
    ToyPicture& operator=(const ToyPicture&) = delete;
    virtual ~ToyPicture() = default;

    std::uint32_t getWidth() const { return width; }
    std::uint32_t getHeight() const { return height; }
    void setWidth(std::uint32_t value) { width = value; }
    void setHeight(std::uint32_t value) { height = value; }

    // Pins coordinates past the last column or row to it.
    void clampCoordinates(std::uint32_t& x, std::uint32_t& y) const;
    static void clampUV(float& u, float& v);

    virtual ToyColour getColour(std::uint32_t x, std::uint32_t y) const = 0;
    // Row y (past the last row: the last) as width × 4 bytes red, green, blue, alpha, as
    // getColour gives them; the kinds that store bytes copy them without a colour per pixel.
    virtual void getRowBytes(std::uint32_t y, std::uint8_t* rgba) const;
    // Bilinear sample at normalised (u, v); the four weights travel as the values' alphas.
    virtual ToyColour getColourBilinear(float u, float v) const;
    virtual void setColour(std::uint32_t x, std::uint32_t y, const ToyColour& colour) = 0;
    virtual void rotate(const int& mode) = 0;
    // keep false leaves the new samples undefined: the caller fills them.
    virtual void resize(std::uint32_t newWidth, std::uint32_t newHeight, bool keep) = 0;
    virtual void scale(float factor);
    // Composites other over the window at (x, y), weighted by factor.
    virtual void blend(std::uint32_t x, std::uint32_t y, float factor, const ToyPicture& other);
    virtual void multiply(std::uint32_t x, std::uint32_t y, const ToyPicture& other);
    // Multiplies by other with its top-left corner at the normalised position (u, v).
    virtual void multiplyAt(float u, float v, const ToyPicture& other);
    virtual void allocate();
    virtual void freePlanes() {}

    // Takes the other's size, reallocates and copies every pixel through the colours.
    void copyFrom(const ToyPicture& other);

    // Picture files go through the engine's image codecs; the extension picks the format.
    // Writes 32-bit colour from getColour (a grey kind: red = green = blue = grey, alpha 255),
    // whole or not at all. False, logged with the path, when it can't be encoded or written.
    bool saveToFile(const std::string& path) const;
    // Fills the picture from an image of the engine's resource group; a non-zero width and
    // height scale the image to that size first (bilinear). False, logged with the name and
    // the picture unchanged, when the image can't be found or read.
    bool loadFromFile(const std::string& name, std::uint32_t width, std::uint32_t height, const std::string& group);
    // The same from a file path, so that a file written a moment ago is found whatever the
    // engine indexed.
    bool loadFromPath(const std::string& path, std::uint32_t width, std::uint32_t height);
    // Takes the image's size and pixels (the image is already at its final size).
    virtual void fillFromImage(const Ogre::Image& image);

protected:
    // The corner samples and weights of a bilinear lookup at (u, v); shared by every kind.
    struct BilinearCell
    {
        std::uint32_t x0, y0, x1, y1;
        float weight00, weight10, weight01, weight11;
    };
    BilinearCell bilinearCell(float u, float v) const;

private:
    std::uint32_t width = 1;
    std::uint32_t height = 1;
};
