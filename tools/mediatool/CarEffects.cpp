// Writes the textures of the car's effects: "materials/SmokePuff.png", a soft grey puff of
// tyre smoke, and "cars/BrakeLightLens.png", the ribbed red lens of the brake lights.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace
{
constexpr int kPuffSize = 64;    // pixels, square
constexpr int kLensSize = 32;    // pixels, square
constexpr int kLensRibs = 4;     // horizontal ribs across the lens
constexpr std::uint32_t kNoiseSeed = 2207;
constexpr float kPuffGrey = 0.86f;
constexpr float kPi = 3.14159265f;

float unitNoise(std::mt19937& noise)
{
    // mt19937's raw output is fixed by the standard; its distributions are not.
    return static_cast<float>(noise() >> 8) / float(1u << 24);
}

// Alpha falls off smoothly from the centre, broken up by a few lumps so puffs don't look stamped.
RgbaPicture puffPicture()
{
    std::mt19937 noise(kNoiseSeed);
    struct Lump
    {
        float x, y, radius;
    };
    Lump lumps[6];
    for (Lump& lump : lumps)
        lump = {0.3f + 0.4f * unitNoise(noise), 0.3f + 0.4f * unitNoise(noise), 0.12f + 0.1f * unitNoise(noise)};
    RgbaPicture picture(kPuffSize, kPuffSize);
    for (int y = 0; y < kPuffSize; ++y)
        for (int x = 0; x < kPuffSize; ++x)
        {
            const float u = (x + 0.5f) / kPuffSize, v = (y + 0.5f) / kPuffSize;
            const float r = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
            float density = std::max(0.0f, 1.0f - r);
            for (const Lump& lump : lumps)
                density += 0.25f * std::max(0.0f, 1.0f - std::hypot(u - lump.x, v - lump.y) / lump.radius);
            const float alpha = std::min(1.0f, density * density) * (r < 1.0f ? 1.0f : 0.0f);
            const float grey = kPuffGrey * (0.92f + 0.08f * unitNoise(noise));
            picture.set(x, y, grey, grey, grey, alpha);
        }
    return picture;
}

// Bright red with darker ribs and a darker rim: lit, it glows red; unlit, the pass's dull
// colours darken it.
RgbaPicture lensPicture()
{
    RgbaPicture picture(kLensSize, kLensSize);
    for (int y = 0; y < kLensSize; ++y)
        for (int x = 0; x < kLensSize; ++x)
        {
            const float u = (x + 0.5f) / kLensSize, v = (y + 0.5f) / kLensSize;
            const float rib = 0.85f + 0.15f * std::cos(v * kLensRibs * 2.0f * kPi);
            const float edge = std::min({u, 1.0f - u, v, 1.0f - v}) < 0.08f ? 0.6f : 1.0f;
            const float red = rib * edge;
            picture.set(x, y, red, 0.10f * red, 0.06f * red);
        }
    return picture;
}

const RegisterMedia registerCarEffects{"car effect textures", [](const std::string& mediaDir) {
                                           makeFolders(mediaDir + "materials");
                                           writePng(mediaDir + "materials/SmokePuff.png", puffPicture());
                                           makeFolders(mediaDir + "cars");
                                           writePng(mediaDir + "cars/BrakeLightLens.png", lensPicture());
                                       }};
}
