// Random tree placement.
#include "TreePlanter.h"

#include <OGRE/OgreMath.h>

#include <cstdlib>

unsigned TreePlanter::seedFor(const TBounds& bounds)
{
    const auto left = static_cast<std::int64_t>(bounds.left), top = static_cast<std::int64_t>(bounds.top);
    return static_cast<unsigned>(left * 1000 + top * 100000 + 100000);
}

std::vector<PlantedTree> TreePlanter::plant(std::uint32_t tries, const Field& coverage, const Field& height,
                                            const Chooser& choose) const
{
    std::srand(seedFor(area));
    std::vector<PlantedTree> trees;
    for (std::uint32_t i = 0; i < tries; ++i)
    {
        // The engine's draws are the C library's: x first, then z.
        const float x = Ogre::Math::RangeRandom(area.left, area.right);
        const float z = Ogre::Math::RangeRandom(area.top, area.bottom);
        if (coverage(x, z) != 0.0f)
            continue;
        const float y = height(x, z);
        const float yaw = Ogre::Math::RangeRandom(0.0f, 359.0f);
        trees.push_back({Ogre::Vector3(x, y, z), yaw, choose()});
    }
    return trees;
}
