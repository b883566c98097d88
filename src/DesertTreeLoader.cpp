// Palms.
#include "DesertTreeLoader.h"

#include "graphics/ToyPictureGrey.h"
#include "physic/MeshShapeParams.h"
#include "physic/PhysicBase.h"
#include "physic/meshShapeSR.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>

#include <cstdlib>

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
                                   Ground ground, std::uint32_t count)
    : TreeLoader(name, geometry, bounds, std::move(ground), count)
{
    PhysicBase* physics = getGround().physics;
    const std::vector<TreeKind>& kinds = treeKinds();
    for (unsigned kindNumber = 0; kindNumber < kinds.size(); ++kindNumber)
    {
        const TreeKind& kind = kinds[kindNumber];
        Ogre::Entity* entity = addKind(kind);
        if (!physics)
            continue;
        auto palm = std::make_unique<nxOgre::meshShapeSR>(entity, physics->getScene(), false, MeshShapeParams());
        if (palm->hasFailed())
            OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "The palm mesh '" + kind.mesh + "' makes no collision mesh",
                        "DesertTreeLoader::DesertTreeLoader");
        // Each kind with the triangles of its own model.
        setCollider(kindNumber, &palm->getShapeDescription());
        palmShapes.push_back(std::move(palm));
    }
}

DesertTreeLoader::~DesertTreeLoader() = default;

const std::vector<TreeKind>& DesertTreeLoader::treeKinds()
{
    static const std::vector<TreeKind> kinds = {
        TreeKind{"m_VG_Palmtree", "palmtree.mesh", TreeKind::Collider::Mesh, true},
        TreeKind{"m_VG_Palmtree2", "palmtree_mid.mesh", TreeKind::Collider::Mesh, true},
        TreeKind{"m_VG_Palmtree3", "palmtree_small.mesh", TreeKind::Collider::Mesh, true},
    };
    return kinds;
}

void DesertTreeLoader::prepareLightmap()
{
    loadShadowStamp();
    treeColours() = static_cast<const ToyPicture&>(*getGround().lightmap);
}

unsigned DesertTreeLoader::chooseKind()
{
    if (std::rand() % 3 != 0)
        return kPalm;
    return (std::rand() & 1) ? kPalmMid : kPalmSmall;
}
