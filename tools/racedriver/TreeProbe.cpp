// The race test driver's questions about the race's trees.
#include "TreeProbe.h"

#include "GameScene.h"
#include "TreeLoader.h"
#include "VegetationManager.h"
#include "paging/TreeIterator.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "platform/physics/NxActor.h"
#include "platform/physics/NxRaycastHit.h"
#include "platform/physics/scene.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneNode.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace
{
// Well inside the planes that fence the track's world in (world units).
constexpr float kWorldMargin = 300.0f;
constexpr float kFlatWithin = 1.0f;  // world units of height along the run-up

std::vector<TreeRef> allTrees(const TreeLoader& loader)
{
    std::vector<TreeRef> trees;
    for (TreeIterator3D it(loader); it.hasMoreElements();)
        trees.push_back(it.getNext());
    return trees;
}

bool clearRunUp(const GameScene& scene, const TreeRef& tree, float radius)
{
    const float x = tree.position.x, z = tree.position.z;
    const TerrainObject& ground = *scene.getTerrainObject();
    const float far = (ground.getPageSize() - 1.0f) * ground.getHorizontalScale() - kWorldMargin;
    if (x < kWorldMargin || z < kWorldMargin || x > far || z > far)
        return false;
    for (float back = 0.0f; back <= radius; back += 1.0f)
    {
        if (std::fabs(ground.getHeight(x - back, z) - tree.position.y) > kFlatWithin)
            return false;
        if (scene.getMapObject()->getCoverage(x - back, z) > 0.0f)
            return false;
    }
    return true;
}
}

std::optional<TreeRef> TreeProbe::loneTree(const GameScene& scene, float radius, const std::string& entity)
{
    if (!scene.getVegetation() || !scene.getVegetation()->getTreeLoader() || !scene.getCar())
        return std::nullopt;
    const std::vector<TreeRef> trees = allTrees(*scene.getVegetation()->getTreeLoader());
    const Ogre::Vector3 car = scene.getCar()->getNode()->getPosition();
    std::optional<TreeRef> nearest;
    for (const TreeRef& tree : trees)
    {
        if (nearest && tree.position.squaredDistance(car) >= nearest->position.squaredDistance(car))
            continue;
        if (!entity.empty() && tree.entity->getName() != entity)
            continue;
        if (!clearRunUp(scene, tree, radius))
            continue;
        bool alone = true;
        for (const TreeRef& other : trees)
            alone = alone && (&other == &tree || other.position.distance(tree.position) > radius);
        if (alone)
            nearest = tree;
    }
    return nearest;
}

std::string TreeProbe::castRay(const GameScene& scene, const Ogre::Vector3& origin, const Ogre::Vector3& direction,
                               float length)
{
    nxOgre::NxRay ray;
    ray.orig = btVector3(origin.x, origin.y, origin.z);
    ray.dir = btVector3(direction.x, direction.y, direction.z);
    nxOgre::NxRaycastHit hit;
    if (!scene.getPhysicBase()->getScene()->raycastClosestShape(ray, nxOgre::NX_STATIC_SHAPES, hit,
                                                                nxOgre::kAllShapeGroups, length) ||
        !hit.actor)
        return "missed";
    const btVector3 at = hit.actor->getGlobalPosition();
    char text[256];
    std::snprintf(text, sizeof text, "hit %s at %.3f actor at %.2f %.2f %.2f", hit.actor->getName().c_str(),
                  hit.distance, at.x(), at.y(), at.z());
    return text;
}
