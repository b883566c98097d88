// The grass terrain's trees: broad-leaf trees for half of them, pines of three sizes for
// the rest. They cast no shadows of their own; the lightmap carries them.
#pragma once

#include "TreeLoader.h"

class GrassTreeLoader : public TreeLoader
{
public:
    GrassTreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds, Ground ground,
                    std::uint32_t count, std::uint32_t seed);
    // In the order of the kind numbers; trunk sizes follow the meshes the media tool makes.
    static const std::vector<TreeKind>& treeKinds();

protected:
    unsigned chooseKind(TreePlanter& planter) override;
};
