// Light rays as any-hit and closest-hit queries of the physics scene.
#include "graphics/PhysicsLightRayCaster.h"

#include "physic/PhysicBase.h"
#include "physic/PhysicsConversions.h"
#include "platform/physics/scene.h"

bool PhysicsLightRayCaster::castRay(const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length,
                                    Ogre::Vector3* impact)
{
    nxOgre::scene* scene = physics ? physics->getScene() : nullptr;
    if (!scene)
        return false;
    nxOgre::NxRay ray;
    ray.orig = toPhysics(origin);
    ray.dir = toPhysics(direction);
    if (!impact)
        return scene->raycastAnyShape(ray, nxOgre::NX_ALL_SHAPES, nxOgre::kAllShapeGroups, length);
    nxOgre::NxRaycastHit hit;
    if (!scene->raycastClosestShape(ray, nxOgre::NX_ALL_SHAPES, hit, nxOgre::kAllShapeGroups, length))
        return false;
    *impact = toOgre(hit.worldImpact);
    return true;
}
