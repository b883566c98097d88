// The plain sky box's six faces "sky05_<face>.png": colour by elevation only, so the faces
// meet without seams whichever way each is turned. Blue deepening to the zenith, a pale
// horizon, a hazy ground colour below it.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kFaceSize = 256;  // pixels

struct Colour
{
    float r, g, b;
};

Colour mix(const Colour& a, const Colour& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// elevation in radians, -pi/2 (nadir) to pi/2 (zenith)
Colour skyAt(float elevation)
{
    const Colour zenith{0.22f, 0.42f, 0.80f}, horizon{0.74f, 0.83f, 0.93f}, ground{0.52f, 0.55f, 0.50f};
    if (elevation >= 0.0f)
        return mix(horizon, zenith, std::pow(std::min(elevation / 1.2f, 1.0f), 0.6f));
    return mix(horizon, ground, std::min(-elevation / 0.15f, 1.0f));
}

// A side face: the direction through pixel (x, y) is (a, b, 1) with a, b in -1..1, b up.
RgbaPicture sideFace()
{
    RgbaPicture picture(kFaceSize, kFaceSize);
    for (int y = 0; y < kFaceSize; ++y)
        for (int x = 0; x < kFaceSize; ++x)
        {
            const float a = (x + 0.5f) / kFaceSize * 2.0f - 1.0f;
            const float b = 1.0f - (y + 0.5f) / kFaceSize * 2.0f;
            const Colour c = skyAt(std::atan2(b, std::sqrt(1.0f + a * a)));
            picture.set(x, y, c.r, c.g, c.b);
        }
    return picture;
}

// The top (sign 1) or bottom (sign -1) face: the direction is (a, sign, b).
RgbaPicture capFace(float sign)
{
    RgbaPicture picture(kFaceSize, kFaceSize);
    for (int y = 0; y < kFaceSize; ++y)
        for (int x = 0; x < kFaceSize; ++x)
        {
            const float a = (x + 0.5f) / kFaceSize * 2.0f - 1.0f;
            const float b = (y + 0.5f) / kFaceSize * 2.0f - 1.0f;
            const Colour c = skyAt(std::atan2(sign, std::sqrt(a * a + b * b)));
            picture.set(x, y, c.r, c.g, c.b);
        }
    return picture;
}

const RegisterMedia registerSkyBox{"skybox", [](const std::string& mediaDir) {
                                       const std::string base = mediaDir + "skybox/sky05_";
                                       makeFolders(mediaDir + "skybox");
                                       const RgbaPicture side = sideFace();
                                       for (const char* face : {"fr", "bk", "lf", "rt"})
                                           writePng(base + face + ".png", side);
                                       writePng(base + "up.png", capFace(1.0f));
                                       writePng(base + "dn.png", capFace(-1.0f));
                                   }};
}
