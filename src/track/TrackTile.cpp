// Placed tiles: cloning, draping on the terrain, collision shapes and lightmaps.
#include "track/TrackTile.h"

#include "LogStream.h"
#include "graphics/CLightMap.h"
#include "graphics/TempImageManagerTLM.h"
#include "graphics/ToyPictureGrey.h"
#include "physic/PhysicBase.h"
#include "physic/meshShapeSR.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"
#include "track/TileTemplate.h"
#include "track/TrackScene.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreHardwareBuffer.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreSubMesh.h>

#include <cmath>

namespace
{
constexpr float kMeshUnitsPerCell = 3.0f;

Ogre::Matrix4 translation(const Ogre::Vector3& by)
{
    Ogre::Matrix4 transform;
    transform.makeTrans(by);
    return transform;
}

Ogre::Quaternion quarterTurns(int turns)
{
    return Ogre::Quaternion(Ogre::Degree(90.0f * static_cast<float>(turns)), Ogre::Vector3::UNIT_Y);
}

// Scaled to the terrain and turned, after the shift by the offset (in cells).
Ogre::Matrix4 localMatrix(float horizontalScale, const Ogre::Quaternion& rotation, const Ogre::Vector2& offset)
{
    Ogre::Matrix4 transform;
    transform.makeTransform(Ogre::Vector3::ZERO, Ogre::Vector3(horizontalScale), rotation);
    return transform * translation(Ogre::Vector3(kMeshUnitsPerCell * offset.x, 0.0f, kMeshUnitsPerCell * offset.y));
}

// Calls visit(float*) on the element of every vertex, the buffer locked for writing.
template <typename Visit>
void forEachElement(Ogre::VertexData& data, Ogre::VertexElementSemantic semantic, Visit visit)
{
    const Ogre::VertexElement* element = data.vertexDeclaration->findElementBySemantic(semantic);
    if (!element || element->getType() != Ogre::VET_FLOAT3)
        return;
    Ogre::HardwareVertexBufferSharedPtr buffer = data.vertexBufferBinding->getBuffer(element->getSource());
    auto* base = static_cast<unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_NORMAL));
    base += data.vertexStart * buffer->getVertexSize();
    for (size_t i = 0; i < data.vertexCount; ++i, base += buffer->getVertexSize())
    {
        float* values = nullptr;
        element->baseVertexPointerToElement(base, &values);
        visit(values);
    }
    buffer->unlock();
}
}

TrackTile::TrackTile(TrackScene* scene, TileTemplate& tileTemplate, int renderRotation, int physicRotation,
                     const Ogre::Vector2& renderOffset, const Ogre::Vector2& physicOffset)
    : scene(scene),
      renderRotation(renderRotation),
      physicRotation(physicRotation),
      renderOffset(renderOffset),
      physicOffset(physicOffset),
      lightMapped(tileTemplate.isLightMapped())
{
    name = tileTemplate.createInstance(renderClone, physicMeshes, smoothMeshes);
}

TrackTile::~TrackTile()
{
    PhysicBase* physics = scene ? scene->getPhysicBase() : nullptr;
    for (size_t j = 0; j < shapes.size(); ++j)
    {
        if (physics)
            physics->removeStaticShape(shapeNames[j]);
        shapes[j]->releaseMesh();
    }
    shapes.clear();
    // The maps refer to the shown entity's sub-entities: they go first.
    lightMaps.clear();
    Ogre::SceneManager* sceneManager = scene ? scene->getSceneManager() : nullptr;
    if (!sceneManager)
        return;
    if (node)
        sceneManager->destroySceneNode(node);
    if (entity)
        sceneManager->destroyEntity(entity);
    if (renderClone)
    {
        sceneManager->destroyEntity(renderClone);
        Ogre::MeshManager::getSingleton().remove(name + "_RenderMesh");
    }
}

void TrackTile::build(int x, int y, const MapObject& track)
{
    if (!scene || node)
        return;
    const TerrainObject* terrain = scene->getTerrainObject();
    const float horizontalScale = terrain->getHorizontalScale();
    const float verticalScale = terrain->getVerticalScale();
    const Ogre::Vector2 centre = track.getTileCentre(x, y);
    const Ogre::Vector3 position(centre.x, verticalScale, centre.y);
    const Ogre::Matrix4 world = translation(position);
    const Ogre::Quaternion renderTurn = quarterTurns(renderRotation);
    const Ogre::Matrix4 renderLocal = localMatrix(horizontalScale, renderTurn, renderOffset);
    const Ogre::Matrix4 physicLocal = localMatrix(horizontalScale, quarterTurns(physicRotation), physicOffset);

    if (renderClone)
        transformMesh(renderClone->getMesh(), world, renderLocal, renderTurn);

    Ogre::SceneManager* sceneManager = scene->getSceneManager();
    node = sceneManager->getRootSceneNode()->createChildSceneNode(position, Ogre::Quaternion::IDENTITY);
    if (renderClone)
    {
        entity = sceneManager->createEntity(name, name + "_RenderMesh");
        entity->setCastShadows(false);
        node->attachObject(entity);
    }
    addCollisionShapes(physicMeshes, false, world, physicLocal);
    addCollisionShapes(smoothMeshes, true, world, physicLocal);
    physicMeshes.clear();
    smoothMeshes.clear();
}

void TrackTile::addCollisionShapes(const std::vector<Ogre::MeshPtr>& meshes, bool smooth, const Ogre::Matrix4& world,
                                   const Ogre::Matrix4& local)
{
    PhysicBase* physics = scene->getPhysicBase();
    const Ogre::Matrix4 worldInverse = world.inverse();
    const auto place = [&](const Ogre::Vector3& v) { return drape(v, world, worldInverse, local); };
    for (const Ogre::MeshPtr& mesh : meshes)
    {
        std::string shapeName = name + "Shape" + std::to_string(shapes.size());
        auto shape = std::make_unique<nxOgre::meshShapeSR>(mesh, "tile '" + name + "' (" + mesh->getName() + ")",
                                                           scene->getPhysicScene(), smooth, place);
        // A mesh that could not be cooked is in the physics log; there is nothing to register.
        if (!shape->hasFailed())
            physics->addStaticShape(shapeName, &shape->getShapeDescription(), world.getTrans());
        shapeNames.push_back(shapeName);
        shapes.push_back(std::move(shape));
    }
}

Ogre::Vector3 TrackTile::drape(const Ogre::Vector3& v, const Ogre::Matrix4& world, const Ogre::Matrix4& worldInverse,
                               const Ogre::Matrix4& local) const
{
    const Ogre::Vector3 turned = local * v;
    const Ogre::Vector3 placed = world * turned;
    const float ground = scene->getTerrainObject()->getHeight(placed.x, placed.z);
    const Ogre::Vector3 back = worldInverse * Ogre::Vector3(placed.x, ground, placed.z);
    return Ogre::Vector3(back.x, std::fabs(turned.y) + back.y, back.z);
}

void TrackTile::transformMesh(const Ogre::MeshPtr& mesh, const Ogre::Matrix4& world, const Ogre::Matrix4& local,
                              const Ogre::Quaternion& rotation)
{
    if (!scene || !mesh)
        return;
    const Ogre::Matrix4 worldInverse = world.inverse();
    Ogre::AxisAlignedBox box = mesh->getBounds();
    bool first = true;
    bool sharedDone = false;
    for (Ogre::SubMesh* sub : mesh->getSubMeshes())
    {
        Ogre::VertexData* data = sub->useSharedVertices ? mesh->sharedVertexData : sub->vertexData;
        if (sub->useSharedVertices)
        {
            // Shared vertices belong to every sub-mesh that uses them: moved once.
            if (sharedDone)
                continue;
            sharedDone = true;
        }
        if (!data)
            continue;
        forEachElement(*data, Ogre::VES_POSITION, [&](float* p) {
            const Ogre::Vector3 draped = drape(Ogre::Vector3(p[0], p[1], p[2]), world, worldInverse, local);
            p[0] = draped.x;
            p[1] = draped.y;
            p[2] = draped.z;
            if (first)
                box.setExtents(draped, draped);
            else
                box.merge(draped);
            first = false;
        });
        forEachElement(*data, Ogre::VES_NORMAL, [&](float* n) {
            const Ogre::Vector3 normal = rotation * Ogre::Vector3(n[0], n[1], n[2]);
            n[0] = normal.x;
            n[1] = normal.y;
            n[2] = normal.z;
        });
    }
    mesh->_setBounds(box, false);
    mesh->_setBoundingSphereRadius(box.isFinite() ? box.getHalfSize().length() : 0.0f);
}

LightMapTally TrackTile::bakeLightMaps(SharedLightMaps& shared)
{
    LightMapTally tally;
    if (!lightMapped || !renderClone || !entity)
        return tally;
    lightMaps.clear();
    const size_t dot = name.find('.');
    if (dot == std::string::npos)
        return tally;
    const std::string base = name.substr(0, dot);
    for (size_t i = 0; i < entity->getNumSubEntities(); ++i)
    {
        const std::string key = base + "_" + std::to_string(i);
        Ogre::SubEntity* subEntity = entity->getSubEntity(i);
        std::shared_ptr<CLightMap>& map = shared.maps[key + "|" + subEntity->getMaterialName()];
        if (map)
        {
            // Without a renderer there is no material, only the light values.
            if (map->getMaterial())
                subEntity->setMaterial(map->getMaterial());
            ++tally.fromCache;
        }
        else if ((map = loadCachedLightMap(subEntity, key)))
            ++tally.fromCache;
        else
        {
            map = bakeLightMap(subEntity, key, shared.raysReady);
            ++tally.baked;
        }
        lightMaps.push_back(map);
    }
    return tally;
}

LightMapBakeParameters TrackTile::lightMapParameters() const
{
    // The class-wide settings, filtered as the race scene wants its lightmapped materials.
    LightMapBakeParameters parameters = CLightMap::defaultParameters();
    parameters.anisotropy = scene->getLightMapAnisotropy();
    return parameters;
}

std::shared_ptr<CLightMap> TrackTile::loadCachedLightMap(Ogre::SubEntity* subEntity, const std::string& key)
{
    TempImageManagerTLM* cache = scene->getLightmapCache();
    if (!cache || !cache->exists(key))
        return nullptr;
    PhysicBase* physics = scene->getPhysicBase();
    Ogre::TexturePtr texture = cache->loadTexture(key);
    if (texture && texture->getWidth() > 0)
    {
        auto map = std::make_shared<CLightMap>(physics, subEntity, static_cast<int>(texture->getWidth()), false,
                                               lightMapParameters());
        map->setTexture(texture);
        map->createMaterial();
        return map;
    }
    // Without a renderer (offline tools, tests) the cached picture fills the map. A file that
    // can't be read either is baked again rather than trusted.
    ToyPictureGrey picture;
    if (!cache->loadImage(picture, key) || picture.getWidth() == 0 || picture.getWidth() != picture.getHeight())
        return nullptr;
    auto map = std::make_shared<CLightMap>(physics, subEntity, static_cast<int>(picture.getWidth()), false,
                                           lightMapParameters());
    if (!map->loadFromPicture(&picture))
        return nullptr;
    map->createMaterial();
    return map;
}

std::shared_ptr<CLightMap> TrackTile::bakeLightMap(Ogre::SubEntity* subEntity, const std::string& key,
                                                   bool& raysReady)
{
    if (!raysReady && scene->getPhysicBase())
        scene->getPhysicBase()->setPaging(false);
    raysReady = true;
    CLightMap::setSurfaceOffset(kLightMapSurfaceOffset);
    CLightMap::setRecordHits(false);
    auto map = std::make_shared<CLightMap>(scene->getPhysicBase(), subEntity, kLightMapTexelsPerUnit, 0, false,
                                           lightMapParameters());
    map->createMaterial();
    TempImageManagerTLM* cache = scene->getLightmapCache();
    // A failed bake is not stored: the next race tries again.
    if (!cache || !map->isBaked())
        return map;
    ToyPictureGrey picture;
    if (map->saveToPicture(&picture))
        cache->saveImage(picture, key);
    return map;
}
