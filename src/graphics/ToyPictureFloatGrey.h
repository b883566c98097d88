// A float grey picture, plane "grey": the lightmap baker's record of ray hits. Its copies
// own their samples.
#pragma once

#include "graphics/ToyPicturePlanes.h"

#include <cstdint>

class ToyPictureFloatGrey : public ToyPictureFloat
{
public:
    ToyPictureFloatGrey();
    ToyPictureFloatGrey(std::uint32_t width, std::uint32_t height);
    explicit ToyPictureFloatGrey(const ToyPicture& other);
    ToyPictureFloatGrey(const ToyPictureFloatGrey& other);

    ToyPictureFloatGrey& operator=(const ToyPicture& other);
    ToyPictureFloatGrey& operator=(const ToyPictureFloatGrey& other);

    virtual void setGrey(std::uint32_t x, std::uint32_t y, const float& value);
    virtual float* greyAt(std::uint32_t x, std::uint32_t y);
    virtual float getGreyBilinear(float u, float v) const;
    // Every sample becomes 0.
    virtual void clear();

    // The stored float as an opaque grey.
    ToyColour getColour(std::uint32_t x, std::uint32_t y) const override;
    ToyColour getColourBilinear(float u, float v) const override;
    // Stores the colour's grey in 0 to 1, the scale getColour reads back.
    void setColour(std::uint32_t x, std::uint32_t y, const ToyColour& colour) override;
    void allocate() override;

    static constexpr const char* kGreyPlane = "grey";
};
