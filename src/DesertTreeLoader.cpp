// Palms.
#include "DesertTreeLoader.h"

namespace
{
enum Kind : unsigned
{
    kPalm,
    kPalmMid,
    kPalmSmall,
};
}

DesertTreeLoader::DesertTreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds,
                                   Ground ground, std::uint32_t count, std::uint32_t seed)
    : TreeLoader(name, geometry, bounds, std::move(ground), count, seed)
{
    for (const TreeKind& kind : treeKinds())
        addKind(kind);
}

const std::vector<TreeKind>& DesertTreeLoader::treeKinds()
{
    static const std::vector<TreeKind> kinds = {
        TreeKind{"m_VG_Palmtree", "palmtree.mesh", TreeKind::Trunk::Capsule, 0.26f, 4.0f, true},
        TreeKind{"m_VG_Palmtree2", "palmtree_mid.mesh", TreeKind::Trunk::Capsule, 0.26f, 4.0f, true},
        TreeKind{"m_VG_Palmtree3", "palmtree_small.mesh", TreeKind::Trunk::Capsule, 0.26f, 3.0f, true},
    };
    return kinds;
}

unsigned DesertTreeLoader::chooseKind(TreePlanter& planter)
{
    if (planter.next() % 3 != 0)
        return kPalm;
    return (planter.next() & 1) ? kPalmMid : kPalmSmall;
}
