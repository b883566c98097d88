// Light rays as any-hit and closest-hit queries of the physics scene.
#include "graphics/PhysicsLightRayCaster.h"

#include "physic/PhysicBase.h"
#include "platform/physics/scene.h"

bool PhysicsLightRayCaster::castRay(const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length,
                                    Ogre::Vector3* impact)
{
    nxOgre::scene* scene = physics ? physics->getScene() : nullptr;
    if (!scene)
        return false;
    nxOgre::NxRay ray;
    ray.orig = btVector3(origin.x, origin.y, origin.z);
    ray.dir = btVector3(direction.x, direction.y, direction.z);
    if (!impact)
        return scene->raycastAnyShape(ray, nxOgre::NX_ALL_SHAPES, nxOgre::kAllShapeGroups, length);
    nxOgre::NxRaycastHit hit;
    if (!scene->raycastClosestShape(ray, nxOgre::NX_ALL_SHAPES, hit, nxOgre::kAllShapeGroups, length))
        return false;
    *impact = Ogre::Vector3(hit.worldImpact.x(), hit.worldImpact.y(), hit.worldImpact.z());
    return true;
}
