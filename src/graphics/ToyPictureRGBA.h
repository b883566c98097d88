// An 8-bit colour picture with planes "red", "green", "blue" and "alpha": the grass colour
// map, darkened by the terrain lightmap. Its copies own their samples.
#pragma once

#include "graphics/ToyPicturePlanes.h"

#include <cstdint>

class ToyPictureGrey;

class ToyPictureRGBA : public ToyPictureUChar
{
public:
    // 1 × 1, opaque black.
    ToyPictureRGBA();
    ToyPictureRGBA(std::uint32_t width, std::uint32_t height);
    explicit ToyPictureRGBA(const ToyPicture& other);
    ToyPictureRGBA(const ToyPictureRGBA& other);

    ToyPictureRGBA& operator=(const ToyPicture& other);
    ToyPictureRGBA& operator=(const ToyPictureRGBA& other);

    virtual void setRGBA(std::uint32_t x, std::uint32_t y, const std::uint8_t& red, const std::uint8_t& green,
                         const std::uint8_t& blue, const std::uint8_t& alpha);
    virtual std::uint8_t* redAt(std::uint32_t x, std::uint32_t y);
    virtual std::uint8_t* greenAt(std::uint32_t x, std::uint32_t y);
    virtual std::uint8_t* blueAt(std::uint32_t x, std::uint32_t y);
    virtual std::uint8_t* alphaAt(std::uint32_t x, std::uint32_t y);
    virtual void clear(const std::uint8_t& red, const std::uint8_t& green, const std::uint8_t& blue,
                       const std::uint8_t& alpha);

    ToyColour getColour(std::uint32_t x, std::uint32_t y) const override;
    void getRowBytes(std::uint32_t y, std::uint8_t* rgba) const override;
    // An RGBA image's bytes go straight into the planes.
    void fillFromImage(const Ogre::Image& image) override;
    void setColour(std::uint32_t x, std::uint32_t y, const ToyColour& colour) override;
    void allocate() override;

    // Darkens the window at (x, y) by the grey picture: every plane, alpha too, becomes
    // (sample × grey) >> 8, so full white still lowers a sample by one step.
    void multiplyRegion(std::uint32_t x, std::uint32_t y, const ToyPictureGrey& grey);

    static constexpr const char* kRedPlane = "red";
    static constexpr const char* kGreenPlane = "green";
    static constexpr const char* kBluePlane = "blue";
    static constexpr const char* kAlphaPlane = "alpha";
};
