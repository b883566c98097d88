// Planting the race's trees: the game's forest, over the paging core's paging/TreeLoader3D.
#include "TreeLoader.h"

#include "graphics/OgreToyPicture.h"
#include "graphics/TempImageManager.h"
#include "graphics/ToyPictureGrey.h"
#include "physic/MeshEntity.h"
#include "physic/PhysicBase.h"
#include "physic/PhysicsConversions.h"
#include "platform/physics/NxActorDesc.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>

#include <algorithm>
#include <cmath>

TreeLoader::TreeLoader(const std::string& loaderName, GeometryPager* geometry, const TBounds& bounds,
                       Ground groundOf, std::uint32_t treeCount)
    : TreeLoader3D(geometry, bounds), name(loaderName), ground(std::move(groundOf)), count(treeCount), area(bounds)
{
    // A lightmap that already carries the trees' shadows gets none stamped again.
    if (ground.lightmap && !ground.lightmapHasTrees)
        stampedLightmap = std::make_unique<ToyPictureGrey>(static_cast<const ToyPicture&>(*ground.lightmap));
    if (ground.lightmap)
    {
        shadowPicture = std::make_unique<ToyPictureGrey>();
        treeColourPicture = std::make_unique<ToyPictureGrey>();
    }
}

TreeLoader::~TreeLoader()
{
    for (Ogre::Entity* entity : entities)
        ground.sceneManager->destroyEntity(entity);
    if (ground.physics)
        for (const std::uint32_t number : actorNumbers)
            ground.physics->removeStaticActor(actorNameFor(number));
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

Ogre::Entity* TreeLoader::addKind(const TreeKind& kind)
{
    Ogre::Entity* entity = createMeshEntity(*ground.sceneManager, kind.entityName, kind.mesh);
    entity->setCastShadows(kind.castShadows);
    entities.push_back(entity);
    colliders.push_back(nullptr);
    return entity;
}

void TreeLoader::setCollider(unsigned kind, const nxOgre::NxShapeDesc* shape)
{
    colliders.at(kind) = shape;
}

void TreeLoader::loadMediaPicture(ToyPictureGrey& picture, const std::string& file)
{
    if (!picture.loadFromFile(file, 0, 0, Ogre::RGN_DEFAULT))
        OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND, "Cannot load the picture '" + file + "'",
                    "TreeLoader::loadMediaPicture");
}

float TreeLoader::getCoverage(float x, float z) const
{
    return ground.coverage ? ground.coverage(x, z) : 0.0f;
}

float TreeLoader::getTerrainHeight(float x, float z) const
{
    return ground.height ? ground.height(x, z) : 0.0f;
}

bool TreeLoader::addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale)
{
    if (!TreeLoader3D::addTree(entity, position, yawDegrees, scale))
        return false;
    ++treesAdded;
    stampShadow(position);
    return true;
}

bool TreeLoader::addTreeWithActor(Ogre::Entity* entity, const nxOgre::NxShapeDesc& shape,
                                  const Ogre::Vector3& position, float yawDegrees, float scale)
{
    if (!TreeLoader3D::addTree(entity, position, yawDegrees, scale))
        return false;
    createStaticActors(position, Ogre::Quaternion(Ogre::Degree(yawDegrees), Ogre::Vector3::UNIT_Y), shape);
    ++treesAdded;
    stampShadow(position);
    return true;
}

void TreeLoader::createStaticActors(const Ogre::Vector3& position, const Ogre::Quaternion& orientation,
                                    const nxOgre::NxShapeDesc& shape)
{
    if (!ground.physics)
        return;
    const std::string actorName = actorNameFor(treesAdded);
    actorNumbers.push_back(treesAdded);
    nxOgre::NxActorDesc actor;  // no body: static
    actor.shapes.push_back(&shape);
    Ogre::Quaternion turn = orientation;
    turn.normalise();
    actor.globalPose = nxOgre::NxPose(toPhysics(position), toPhysics(turn));
    actor.name = actorName;
    // The physics makes the actor once a car comes near its cell.
    ground.physics->addStaticActor(actorName, actor, position);
}

void TreeLoader::createTrees()
{
    if (shadowPicture)
        prepareLightmap();
    const TreePlanter planter(area);
    const auto trees = planter.plant(
        count + 1, [this](float x, float z) { return getCoverage(x, z); },
        [this](float x, float z) { return getTerrainHeight(x, z); }, [this] { return chooseKind(); });
    for (const PlantedTree& tree : trees)
    {
        Ogre::Entity* entity = entities.at(tree.kind);
        if (const nxOgre::NxShapeDesc* collider = colliders.at(tree.kind))
            addTreeWithActor(entity, *collider, tree.position, tree.yawDegrees, 1.0f);
        else
            addTree(entity, tree.position, tree.yawDegrees, 1.0f);
    }
    loadLightmap();
}

void TreeLoader::loadLightmap()
{
    if (!ground.lightmap)
        return;
    if (stampedLightmap)
    {
        *ground.lightmap = static_cast<const ToyPicture&>(*stampedLightmap);
        if (ground.cache)
            ground.cache->saveImage(*stampedLightmap, ground.lightmapCacheName);
        stampedLightmap.reset();
    }
    // Without a render system (tools, tests) there are no textures to tint with.
    if (!Ogre::Root::getSingleton().getRenderSystem())
        return;
    treeColourTexture = std::make_unique<OgreToyPicture>(name + "Tree_Light_Map", treeColourPicture.get(), true);
    setColorMap(treeColourTexture->getTexture(), CHANNEL_COLOR);
    // The loader keeps the colours it read: neither the texture nor its picture is read again.
    treeColourTexture.reset();
    treeColourPicture.reset();
}

void TreeLoader::stampShadow(const Ogre::Vector3& position)
{
    if (!stampedLightmap || !shadowPicture || shadowPicture->getWidth() == 0 || area.width() <= 0.0f ||
        area.height() <= 0.0f)
        return;
    ToyPictureGrey& stamped = *stampedLightmap;
    const ToyPictureGrey& stamp = *shadowPicture;
    if (shadowOffsetU < 0.0f)
    {
        // The stamp's centre on the tree.
        shadowOffsetU = (static_cast<float>(stamp.getWidth() - 1) / 2.0f + 0.5f) / static_cast<float>(stamped.getWidth());
        shadowOffsetV =
            (static_cast<float>(stamp.getHeight() - 1) / 2.0f + 0.5f) / static_cast<float>(stamped.getHeight());
    }
    float u = position.x / area.width() - shadowOffsetU;
    float v = position.z / area.height() - shadowOffsetV;
    // As ToyPicture::multiplyAt, on the grey bytes: through colours a dense forest's
    // stamps took seconds.
    ToyPicture::clampUV(u, v);
    const std::uint32_t width = stamped.getWidth(), height = stamped.getHeight();
    const std::uint32_t px = std::min(static_cast<std::uint32_t>(u * width), width - 1);
    const std::uint32_t py = std::min(static_cast<std::uint32_t>(v * height), height - 1);
    const float dx = u * width - px, dy = v * height - py;
    const std::uint32_t windowWidth = std::min(stamp.getWidth() + (dx > 0.0f ? 1 : 0), width - px);
    const std::uint32_t windowHeight = std::min(stamp.getHeight() + (dy > 0.0f ? 1 : 0), height - py);
    const int stampWidth = static_cast<int>(stamp.getWidth());
    const int stampHeight = static_cast<int>(stamp.getHeight());
    const std::uint8_t* stampGrey = stamp.getGreyData();
    // The stamp's texel at (x, y), its edge repeated outside.
    const auto texel = [&](int x, int y) {
        x = std::clamp(x, 0, stampWidth - 1);
        y = std::clamp(y, 0, stampHeight - 1);
        return static_cast<float>(stampGrey[y * stampWidth + x]);
    };
    std::uint8_t* grey = stamped.getGreyData();
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
