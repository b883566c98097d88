// Broad-leaf trees and pines.
#include "GrassTreeLoader.h"

namespace
{
enum Kind : unsigned
{
    kBroadLeaf,
    kPine1,
    kPine2,
    kPine3,
};
}

GrassTreeLoader::GrassTreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds,
                                 Ground ground, std::uint32_t count, std::uint32_t seed)
    : TreeLoader(name, geometry, bounds, std::move(ground), count, seed)
{
    for (const TreeKind& kind : treeKinds())
        addKind(kind);
}

const std::vector<TreeKind>& GrassTreeLoader::treeKinds()
{
    static const std::vector<TreeKind> kinds = {
        TreeKind{"m_Entity1", "NormalTree.mesh", TreeKind::Trunk::Box, 0.28f, 3.6f, false},
        TreeKind{"m_Entity2", "pinetree_01.mesh", TreeKind::Trunk::Capsule, 0.24f, 4.0f, false},
        TreeKind{"m_Entity3", "pinetree_02.mesh", TreeKind::Trunk::Capsule, 0.2f, 4.0f, false},
        TreeKind{"m_Entity4", "pinetree_03.mesh", TreeKind::Trunk::Capsule, 0.27f, 4.0f, false},
    };
    return kinds;
}

unsigned GrassTreeLoader::chooseKind(TreePlanter& planter)
{
    // Half broad-leaf; of the pines two thirds the middle size, a sixth each of the others.
    if (planter.next() & 1)
        return kBroadLeaf;
    if (planter.next() % 3 != 0)
        return kPine1;
    return (planter.next() & 1) ? kPine2 : kPine3;
}
