// The bloom's blur kernel.
#include "graphics/BloomKernel.h"

#include <OGRE/OgreMath.h>

BloomKernel::BloomKernel()
{
    weights.fill(Ogre::Vector4::ZERO);
    horizontalOffsets.fill(Ogre::Vector4::ZERO);
    verticalOffsets.fill(Ogre::Vector4::ZERO);
}

BloomKernel BloomKernel::forSize(int bloomSize)
{
    BloomKernel kernel;
    const float texel = 1.0f / static_cast<float>(bloomSize > 0 ? bloomSize : 1);
    const float centre = Ogre::Math::gaussianDistribution(0.0f, 0.0f, kDeviation);
    kernel.weights[0] = Ogre::Vector4(centre, centre, centre, 1.0f);
    for (int i = 1; i <= 7; ++i)
    {
        const float weight = kSideBoost * Ogre::Math::gaussianDistribution(static_cast<float>(i), 0.0f, kDeviation);
        const float offset = i * texel;
        kernel.weights[i] = kernel.weights[i + 7] = Ogre::Vector4(weight, weight, weight, 1.0f);
        kernel.horizontalOffsets[i] = Ogre::Vector4(offset, 0, 0, 0);
        kernel.verticalOffsets[i] = Ogre::Vector4(0, offset, 0, 0);
        kernel.horizontalOffsets[i + 7] = Ogre::Vector4(-offset, 0, 0, 0);
        kernel.verticalOffsets[i + 7] = Ogre::Vector4(0, -offset, 0, 0);
    }
    return kernel;
}
