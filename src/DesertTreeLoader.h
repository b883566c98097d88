// The desert's trees: palms of three sizes, two thirds of them the tall one.
#pragma once

#include "TreeLoader.h"

class DesertTreeLoader : public TreeLoader
{
public:
    DesertTreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds, Ground ground,
                     std::uint32_t count, std::uint32_t seed);
    // In the order of the kind numbers; trunk sizes follow the meshes the media tool makes.
    static const std::vector<TreeKind>& treeKinds();

protected:
    unsigned chooseKind(TreePlanter& planter) override;
};
