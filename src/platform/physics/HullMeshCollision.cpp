// Convex hull against triangle mesh: Bullet's pass over the mesh with a plane test first.
#include "platform/physics/HullMeshCollision.h"

#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btConcaveShape.h>
#include <BulletCollision/CollisionShapes/btConvexShape.h>

#include <new>

namespace nxOgre
{
namespace
{
// Room for the rounding of the plane test itself, far below a contact's reach.
constexpr btScalar kPlaneTestSlack = 0.001f;
}

HullMeshCollision::HullMeshCollision(const btCollisionAlgorithmConstructionInfo& info,
                                     const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                                     bool isSwapped)
    : btActivatingCollisionAlgorithm(info, body0, body1),
      triangles(info.m_dispatcher1, body0, body1, isSwapped),
      swapped(isSwapped)
{
}

void HullMeshCollision::processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                                         const btDispatcherInfo& dispatchInfo, btManifoldResult* resultOut)
{
    const btCollisionObjectWrapper* hullBody = swapped ? body1 : body0;
    const btCollisionObjectWrapper* meshBody = swapped ? body0 : body1;
    const auto* mesh = static_cast<const btConcaveShape*>(meshBody->getCollisionShape());
    const auto* hull = static_cast<const btConvexShape*>(hullBody->getCollisionShape());
    const btScalar triangleMargin = mesh->getMargin();

    // As Bullet's convex against mesh collision does it, with the plane test's terms set.
    resultOut->setPersistentManifold(triangles.m_manifoldPtr);
    triangles.setTimeStepAndCounters(triangleMargin, dispatchInfo, hullBody, meshBody, resultOut);
    triangles.m_manifoldPtr->setBodies(hullBody->getCollisionObject(), meshBody->getCollisionObject());
    triangles.hull = hull;
    triangles.hullInMesh = meshBody->getWorldTransform().inverse() * hullBody->getWorldTransform();
    btVector3 boxMin, boxMax;
    hull->getAabb(btTransform::getIdentity(), boxMin, boxMax);
    triangles.boxCentre = triangles.hullInMesh((boxMin + boxMax) * btScalar(0.5));
    triangles.boxHalfSize = (boxMax - boxMin) * btScalar(0.5);
    // Bullet's distance search of a pair reports a contact while the distance between the
    // two cores, less their margins, stays within the margins and the manifold's threshold.
    const btScalar margins = hull->getMargin() + triangleMargin;
    triangles.reach = 2 * margins + triangles.m_manifoldPtr->getContactBreakingThreshold() +
                      resultOut->m_closestPointDistanceThreshold + kPlaneTestSlack;
    mesh->processAllTriangles(&triangles, triangles.getAabbMin(), triangles.getAabbMax());
    resultOut->refreshContactPoints();
    triangles.clearWrapperData();
}

void HullMeshCollision::getAllContactManifolds(btManifoldArray& manifolds)
{
    if (triangles.m_manifoldPtr)
        manifolds.push_back(triangles.m_manifoldPtr);
}

void HullMeshCollision::PlaneFilteredTriangles::processTriangle(btVector3* triangle, int partId, int triangleIndex)
{
    btVector3 normal = (triangle[1] - triangle[0]).cross(triangle[2] - triangle[0]);
    const btScalar area2 = normal.length2();
    if (area2 > SIMD_EPSILON)
    {
        // The hull's core on one side of the plane, farther than the reach: the distance
        // between hull and triangle is at least that gap, and the search would find nothing.
        // The hull's box answers for most triangles; its points only for those near the box.
        normal /= btSqrt(area2);
        const btMatrix3x3& turn = hullInMesh.getBasis();
        const btVector3 normalInHull = normal * turn;
        const btScalar boxReach = boxHalfSize.dot(normalInHull.absolute());
        const btScalar boxHeight = normal.dot(boxCentre - triangle[0]);
        if (boxHeight - boxReach > reach || -boxHeight - boxReach > reach)
            return;
        const btVector3 lowest = hullInMesh(hull->localGetSupportingVertexWithoutMargin(-normalInHull));
        const btVector3 highest = hullInMesh(hull->localGetSupportingVertexWithoutMargin(normalInHull));
        const btScalar above = normal.dot(lowest - triangle[0]);
        const btScalar below = normal.dot(triangle[0] - highest);
        if (above > reach || below > reach)
            return;
    }
    btConvexTriangleCallback::processTriangle(triangle, partId, triangleIndex);
}

btCollisionAlgorithm* HullMeshCollision::CreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                                              const btCollisionObjectWrapper* body0,
                                                                              const btCollisionObjectWrapper* body1)
{
    // Bullet's pool holds its own algorithms' sizes only; the dispatcher frees either kind.
    void* memory = btAlignedAlloc(sizeof(HullMeshCollision), 16);
    return new (memory) HullMeshCollision(info, body0, body1, m_swapped);
}

}
