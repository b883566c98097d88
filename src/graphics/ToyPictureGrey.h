// An 8-bit grey picture, plane "grey": every lightmap that goes to or comes from the image
// caches. Copies of a grey picture share its samples.
#pragma once

#include "graphics/ToyPicturePlanes.h"

#include <cstdint>
#include <string>

class ToyPictureGrey : public ToyPictureUChar
{
public:
    // 1 × 1, black.
    ToyPictureGrey();
    // A zero width or height becomes 1; black.
    ToyPictureGrey(std::uint32_t width, std::uint32_t height);
    // Own plane, filled from the other's colours (reduced to their grey).
    explicit ToyPictureGrey(const ToyPicture& other);
    // Shares the other's "grey" samples: writes through either are seen through both.
    ToyPictureGrey(const ToyPictureGrey& other);

    ToyPictureGrey& operator=(const ToyPicture& other);
    // Shares the other's "grey" samples, as the copy does.
    ToyPictureGrey& operator=(const ToyPictureGrey& other);

    virtual void setGrey(std::uint32_t x, std::uint32_t y, const std::uint8_t& value);
    virtual std::uint8_t* greyAt(std::uint32_t x, std::uint32_t y);
    virtual std::uint8_t getGreyBilinear(float u, float v) const;
    virtual void clear(const std::uint8_t& value);

    // Width × height bytes, row-major.
    std::uint8_t* getGreyData();
    const std::uint8_t* getGreyData() const;

    // Opaque grey values.
    ToyColour getColour(std::uint32_t x, std::uint32_t y) const override;
    ToyColour getColourBilinear(float u, float v) const override;
    // Writes the colour's grey byte (a colour's luminance); its alpha is dropped.
    void setColour(std::uint32_t x, std::uint32_t y, const ToyColour& colour) override;
    void allocate() override;

    // Writes the grey plane as an 8-bit luminance image, whole or not at all; false, logged,
    // when it can't be encoded or written.
    bool saveToFile(const std::string& path) const;
    // Luminance images are copied byte for byte; others go through the colours, a fully
    // transparent pixel becoming 255.
    void fillFromImage(const Ogre::Image& image) override;
    void getRowBytes(std::uint32_t y, std::uint8_t* rgba) const override;

    static constexpr const char* kGreyPlane = "grey";
};
