// Writes the tyre-mark texture "materials/RubberTrack.png": dark rubber whose alpha carries
// tread ribs across the mark, fades at both edges and is worn by fixed-seed noise.
#include "MediaGenerator.h"
#include "PngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace
{
constexpr int kTextureSize = 64;        // pixels, square
constexpr int kTreadRibs = 6;           // ribs across the mark
constexpr std::uint32_t kNoiseSeed = 4711;
constexpr float kRubberGrey = 0.11f;    // the rubber's colour
constexpr float kPeakAlpha = 0.85f;     // the darkest part of a fresh mark

RgbaPicture rubberPicture()
{
    // mt19937's raw output is fixed by the standard; its distributions are not.
    std::mt19937 noise(kNoiseSeed);
    auto wear = [&noise] { return 0.75f + 0.25f * static_cast<float>(noise() >> 8) / float(1u << 24); };
    RgbaPicture picture(kTextureSize, kTextureSize);
    for (int y = 0; y < kTextureSize; ++y)
    {
        for (int x = 0; x < kTextureSize; ++x)
        {
            const float across = (x + 0.5f) / kTextureSize;  // 0 to 1 over the mark's width
            const float edgeFade = std::min(1.0f, std::min(across, 1.0f - across) * 6.0f);
            const float rib = 0.7f + 0.3f * std::cos(across * kTreadRibs * 2.0f * 3.14159265f);
            const float alpha = kPeakAlpha * edgeFade * rib * wear();
            const float grey = kRubberGrey * (0.8f + 0.4f * wear());
            picture.set(x, y, grey, grey, grey, alpha);
        }
    }
    return picture;
}

const RegisterMedia registerRubber{"rubber texture", [](const std::string& mediaDir) {
                                       makeFolders(mediaDir + "materials");
                                       writePng(mediaDir + "materials/RubberTrack.png", rubberPicture());
                                   }};
}
