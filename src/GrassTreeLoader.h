// The grass terrain's trees: broad-leaf trees for half of them, pines of three sizes for
// the rest. They cast no shadows of their own; the lightmap carries them. A broad-leaf
// trunk is a box, a pine's a capsule, both upright and centred on the tree's foot.
#pragma once

#include "TreeLoader.h"

#include "platform/physics/NxShapeDesc.h"

class GrassTreeLoader : public TreeLoader
{
public:
    // The trunks our meshes are made around (world units at scale 1).
    static constexpr float kBoxHalfWidth = 0.25f;
    static constexpr float kBoxHalfHeight = 4.0f;
    static constexpr float kCapsuleRadius = 0.1f;
    static constexpr float kCapsuleHeight = 4.0f;  // between the centres of its end spheres
    // The trees' tint: this picture in the lightmap's shade, cached under the next name.
    static constexpr const char* kTintPicture = "map1_TX_light_new3.png";
    static constexpr const char* kTintCacheName = "TreeLightmap";

    GrassTreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds, Ground ground,
                    std::uint32_t count);
    // In the order of the kind numbers.
    static const std::vector<TreeKind>& treeKinds();

protected:
    void prepareLightmap() override;
    unsigned chooseKind() override;

private:
    nxOgre::NxBoxShapeDesc box;
    nxOgre::NxCapsuleShapeDesc capsule;
};
