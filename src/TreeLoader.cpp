// Planting the race's trees: the game's forest, over the paging core's paging/TreeLoader3D.
#include "TreeLoader.h"

#include "graphics/ToyPictureGrey.h"
#include "physic/MeshEntity.h"
#include "physic/PhysicBase.h"
#include "physic/PhysicsConversions.h"
#include "platform/physics/NxActorDesc.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>

#include <algorithm>
#include <cmath>

TreeLoader::TreeLoader(const std::string& loaderName, GeometryPager* geometry, const TBounds& bounds,
                       Ground groundOf, std::uint32_t treeCount, std::uint32_t forestSeed)
    : TreeLoader3D(geometry, bounds),
      name(loaderName),
      ground(std::move(groundOf)),
      count(treeCount),
      seed(forestSeed),
      area(bounds)
{
}

TreeLoader::~TreeLoader()
{
    if (ground.physics)
        for (const std::uint32_t number : actorNumbers)
            ground.physics->removeStaticActor(actorNameFor(number));
    for (Ogre::Entity* entity : entities)
        ground.sceneManager->destroyEntity(entity);
}

std::string TreeLoader::actorNameFor(std::uint32_t number) const
{
    return name + "StaticActor" + std::to_string(number);
}

std::vector<std::string> TreeLoader::getActorNames() const
{
    std::vector<std::string> names;
    names.reserve(actorNumbers.size());
    for (const std::uint32_t number : actorNumbers)
        names.push_back(actorNameFor(number));
    return names;
}

void TreeLoader::addKind(const TreeKind& kind)
{
    Ogre::Entity* entity = createMeshEntity(*ground.sceneManager, kind.entityName, kind.mesh);
    entity->setCastShadows(kind.castShadows);
    kinds.push_back(kind);
    entities.push_back(entity);
}

bool TreeLoader::addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale)
{
    if (!TreeLoader3D::addTree(entity, position, yawDegrees, scale))
        return false;
    ++treesAdded;
    stampShadow(position);
    return true;
}

const nxOgre::NxShapeDesc& TreeLoader::trunkShape(unsigned kindIndex, float scale)
{
    std::unique_ptr<nxOgre::NxShapeDesc>& shape = trunkShapes[{kindIndex, scale}];
    if (shape)
        return *shape;
    const TreeKind& kind = kinds.at(kindIndex);
    const float radius = kind.trunkRadius * scale, height = kind.trunkHeight * scale;
    if (kind.trunk == TreeKind::Trunk::Box)
    {
        auto box = std::make_unique<nxOgre::NxBoxShapeDesc>();
        box->dimensions = nxOgre::NxVec3(radius, height / 2.0f, radius);
        shape = std::move(box);
    }
    else
    {
        auto capsule = std::make_unique<nxOgre::NxCapsuleShapeDesc>();
        capsule->radius = radius;
        capsule->height = std::max(height - 2.0f * radius, 0.0f);
        shape = std::move(capsule);
    }
    // From the ground up, not half buried.
    shape->localPose = nxOgre::NxPose(nxOgre::NxVec3(0.0f, height / 2.0f, 0.0f), nxOgre::NxQuat());
    return *shape;
}

bool TreeLoader::addTreeWithActor(unsigned kind, const Ogre::Vector3& position, float yawDegrees, float scale)
{
    if (!TreeLoader3D::addTree(entities.at(kind), position, yawDegrees, scale))
        return false;
    if (ground.physics)
    {
        const std::string actorName = actorNameFor(treesAdded);
        nxOgre::NxActorDesc actor;
        actor.shapes.push_back(&trunkShape(kind, scale));
        actor.globalPose = nxOgre::NxPose(
            toPhysics(position), toPhysics(Ogre::Quaternion(Ogre::Degree(yawDegrees), Ogre::Vector3::UNIT_Y)));
        actor.name = actorName;
        ground.physics->addStaticActor(actorName, actor, position);
        actorNumbers.push_back(treesAdded);
    }
    ++treesAdded;
    stampShadow(position);
    return true;
}

void TreeLoader::createTrees(ToyPictureGrey* stampedLightmap, const ToyPictureGrey* shadowStamp)
{
    stamped = shadowStamp ? stampedLightmap : nullptr;
    shadow = shadowStamp;
    TreePlanter planter(area, seed);
    const auto trees = planter.plant(count, ground.coverage, ground.height,
                                     [this](TreePlanter& p) { return chooseKind(p); });
    for (const PlantedTree& tree : trees)
        addTreeWithActor(tree.kind, tree.position, tree.yawDegrees, 1.0f);
    stamped = nullptr;
    shadow = nullptr;
}

void TreeLoader::stampShadow(const Ogre::Vector3& position)
{
    if (!stamped || !shadow || area.width() <= 0.0f || area.height() <= 0.0f)
        return;
    // The stamp's centre on the tree.
    const float offsetU = (static_cast<float>(shadow->getWidth() - 1) / 2.0f + 0.5f) / static_cast<float>(stamped->getWidth());
    const float offsetV =
        (static_cast<float>(shadow->getHeight() - 1) / 2.0f + 0.5f) / static_cast<float>(stamped->getHeight());
    float u = (position.x - area.left) / area.width() - offsetU;
    float v = (position.z - area.top) / area.height() - offsetV;
    // As ToyPicture::multiplyAt, on the grey bytes: through colours a dense forest's
    // stamps took seconds.
    ToyPicture::clampUV(u, v);
    const std::uint32_t width = stamped->getWidth(), height = stamped->getHeight();
    const std::uint32_t px = std::min(static_cast<std::uint32_t>(u * width), width - 1);
    const std::uint32_t py = std::min(static_cast<std::uint32_t>(v * height), height - 1);
    const float dx = u * width - px, dy = v * height - py;
    const std::uint32_t windowWidth = std::min(shadow->getWidth() + (dx > 0.0f ? 1 : 0), width - px);
    const std::uint32_t windowHeight = std::min(shadow->getHeight() + (dy > 0.0f ? 1 : 0), height - py);
    const int shadowWidth = static_cast<int>(shadow->getWidth());
    const int shadowHeight = static_cast<int>(shadow->getHeight());
    const std::uint8_t* stamp = shadow->getGreyData();
    // The stamp's texel at (x, y), its edge repeated outside.
    const auto texel = [&](int x, int y) {
        x = std::clamp(x, 0, shadowWidth - 1);
        y = std::clamp(y, 0, shadowHeight - 1);
        return static_cast<float>(stamp[y * shadowWidth + x]);
    };
    std::uint8_t* grey = stamped->getGreyData();
    for (std::uint32_t j = 0; j < windowHeight; ++j)
    {
        std::uint8_t* row = grey + static_cast<std::size_t>(py + j) * width + px;
        const float sy = static_cast<float>(j) - dy;
        const int y0 = static_cast<int>(std::floor(sy));
        const float fy = sy - static_cast<float>(y0);
        for (std::uint32_t i = 0; i < windowWidth; ++i)
        {
            const float sx = static_cast<float>(i) - dx;
            const int x0 = static_cast<int>(std::floor(sx));
            const float fx = sx - static_cast<float>(x0);
            const float top = texel(x0, y0) * (1.0f - fx) + texel(x0 + 1, y0) * fx;
            const float bottom = texel(x0, y0 + 1) * (1.0f - fx) + texel(x0 + 1, y0 + 1) * fx;
            const float factor = (top * (1.0f - fy) + bottom * fy) / 255.0f;
            row[i] = static_cast<std::uint8_t>(row[i] * factor + 0.5f);
        }
    }
}
