// The desert's trees: palms of three sizes, two thirds of them the tall one. Each palm kind
// collides as its own model's triangles.
#pragma once

#include "TreeLoader.h"

#include <memory>

namespace nxOgre
{
class meshShapeSR;
}

class DesertTreeLoader : public TreeLoader
{
public:
    // Throws the engine's exception when a palm's mesh is missing or will not collide.
    DesertTreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds, Ground ground,
                     std::uint32_t count);
    ~DesertTreeLoader() override;
    // In the order of the kind numbers.
    static const std::vector<TreeKind>& treeKinds();

protected:
    void prepareLightmap() override;
    unsigned chooseKind() override;

private:
    std::vector<std::unique_ptr<nxOgre::meshShapeSR>> palmShapes;  // one per kind
};
