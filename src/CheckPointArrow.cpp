// The checkpoint arrow's turn towards the next checkpoint and its green-to-red colour.
#include "CheckPointArrow.h"

#include <OGRE/OgreMath.h>

#include <algorithm>
#include <cmath>

namespace CheckPointArrow
{
float angleToCheckPoint(const Ogre::Vector2& heading, const Ogre::Vector2& carPosition, const Ogre::Vector2& checkPoint)
{
    Ogre::Vector2 toCheckPoint = checkPoint - carPosition;
    if (toCheckPoint.normalise() < 1e-6f || heading.squaredLength() < 1e-12f)
        return 0.0f;
    const Ogre::Vector2 h = heading.normalisedCopy();
    // Rounding may push the product a hair past 1, where acos gives NaN.
    const float angle = std::acos(std::clamp(h.dotProduct(toCheckPoint), -1.0f, 1.0f));
    return h.x * toCheckPoint.y - h.y * toCheckPoint.x < 0.0f ? -angle : angle;
}

Ogre::ColourValue colourFor(float angle)
{
    const float t = std::min(std::abs(angle) / Ogre::Math::PI, 1.0f);
    return kBehind * t + kAhead * (1.0f - t);
}
}  // namespace CheckPointArrow
