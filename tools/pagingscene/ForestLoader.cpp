// The forest, placed once and handed out page by page.
#include "ForestLoader.h"

#include <OGRE/OgreMath.h>

#include <cmath>
#include <cstdlib>

namespace
{
constexpr unsigned kForestSeed = 100000;

float random01() { return static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX); }
}

ForestLoader::ForestLoader(Ogre::Entity* treeEntity, const TBounds& area, int treeCount,
                           float pageSize)
    : tree(treeEntity)
{
    std::srand(kForestSeed);
    for (int n = 0; n < treeCount; ++n)
    {
        Tree placed;
        placed.position = Ogre::Vector3(area.left + random01() * area.width(), 0.0f,
                                        area.top + random01() * area.height());
        placed.yawDegrees = random01() * 360.0f;
        placed.scale = 0.7f + 0.6f * random01();
        const float shade = 0.75f + 0.25f * random01();
        placed.tint = Ogre::ColourValue(shade * (0.9f + 0.1f * random01()), shade, shade * 0.9f);
        // The page manager's world indices: the page's cell counted from the origin.
        const std::pair<int, int> page(static_cast<int>(std::floor(placed.position.x / pageSize)),
                                       static_cast<int>(std::floor(placed.position.z / pageSize)));
        treesByPage[page].push_back(placed);
    }
}

void ForestLoader::loadPage(PageInfo& page)
{
    ++loads;
    auto found = treesByPage.find({page.xIndex, page.zIndex});
    if (found == treesByPage.end())
        return;
    for (const Tree& placed : found->second)
        addEntity(tree, placed.position,
                  Ogre::Quaternion(Ogre::Degree(placed.yawDegrees), Ogre::Vector3::UNIT_Y),
                  Ogre::Vector3(placed.scale), placed.tint);
}
