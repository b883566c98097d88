// The 15-tap Gaussian blur of the HDR bloom: a centre tap and seven a side, one texel
// apart in the bloom target, with weights from a Gaussian of deviation 3.
#pragma once

#include <OGRE/OgreVector.h>

#include <array>

struct BloomKernel
{
    static constexpr int kTaps = 15;
    static constexpr float kDeviation = 3.0f;  // texels
    static constexpr float kSideBoost = 1.25f;

    std::array<Ogre::Vector4, kTaps> weights;            // (w, w, w, 1)
    std::array<Ogre::Vector4, kTaps> horizontalOffsets;  // (d, 0, 0, 0) in texture units
    std::array<Ogre::Vector4, kTaps> verticalOffsets;    // (0, d, 0, 0)

    // All taps zero (the engine's vectors start uninitialised).
    BloomKernel();

    // For a bloom target bloomSize texels wide (a size of 0 or less counts as 1).
    static BloomKernel forSize(int bloomSize);
};
