// Broad-leaf trees and pines.
#include "GrassTreeLoader.h"

#include "graphics/TempImageManager.h"
#include "graphics/ToyPictureGrey.h"

#include <cstdlib>

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
                                 Ground ground, std::uint32_t count)
    : TreeLoader(name, geometry, bounds, std::move(ground), count)
{
    box.dimensions = btVector3(kBoxHalfWidth, kBoxHalfHeight, kBoxHalfWidth);
    capsule.radius = kCapsuleRadius;
    capsule.height = kCapsuleHeight;
    for (const TreeKind& kind : treeKinds())
        addKind(kind);
    setCollider(kBroadLeaf, &box);
    for (const unsigned pine : {kPine1, kPine2, kPine3})
        setCollider(pine, &capsule);
}

const std::vector<TreeKind>& GrassTreeLoader::treeKinds()
{
    static const std::vector<TreeKind> kinds = {
        TreeKind{"m_Entity1", "NormalTree.mesh", TreeKind::Collider::Box, false},
        TreeKind{"m_Entity2", "pinetree_01.mesh", TreeKind::Collider::Capsule, false},
        TreeKind{"m_Entity3", "pinetree_02.mesh", TreeKind::Collider::Capsule, false},
        TreeKind{"m_Entity4", "pinetree_03.mesh", TreeKind::Collider::Capsule, false},
    };
    return kinds;
}

void GrassTreeLoader::prepareLightmap()
{
    loadShadowStamp();
    TempImageManager* cache = getGround().cache;
    if (cache && cache->loadImage(treeColours(), kTintCacheName))
        return;
    loadMediaPicture(treeColours(), kTintPicture);
    treeColours().multiply(0, 0, *getGround().lightmap);
    if (cache)
        cache->saveImage(treeColours(), kTintCacheName);
}

unsigned GrassTreeLoader::chooseKind()
{
    // Half broad-leaf; of the pines two thirds the first, a sixth each of the others.
    if (std::rand() & 1)
        return kBroadLeaf;
    if (std::rand() % 3 != 0)
        return kPine1;
    return (std::rand() & 1) ? kPine2 : kPine3;
}
