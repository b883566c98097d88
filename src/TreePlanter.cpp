// Random tree placement.
#include "TreePlanter.h"

TreePlanter::TreePlanter(const TBounds& area, std::uint32_t seed) : bounds(area), engine(seed) {}

float TreePlanter::range(float low, float high)
{
    // Our own mapping: the standard distributions differ between library versions.
    const double unit = static_cast<double>(engine()) / static_cast<double>(std::mt19937::max());
    return static_cast<float>(low + (high - low) * unit);
}

std::vector<PlantedTree> TreePlanter::plant(std::uint32_t tries, const Field& coverage, const Field& height,
                                            const Chooser& choose)
{
    std::vector<PlantedTree> trees;
    for (std::uint32_t i = 0; i < tries; ++i)
    {
        const float x = range(bounds.left, bounds.right);
        const float z = range(bounds.top, bounds.bottom);
        if (coverage(x, z) != 0.0f)
            continue;
        const float yaw = range(0.0f, 359.0f);
        const unsigned kind = choose(*this);
        trees.push_back({Ogre::Vector3(x, height(x, z), z), yaw, kind});
    }
    return trees;
}
