// Contacts of a convex hull (a car's chassis) with a triangle mesh, as Bullet's own
// convex-against-mesh collision finds them, less the triangles whose plane holds the hull
// clear of them by more than a contact's reach: those would cost a distance search each
// and give nothing. The road under a car's box gives many such triangles at every step.
#pragma once

#include <BulletCollision/CollisionDispatch/btActivatingCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>
#include <BulletCollision/CollisionDispatch/btConvexConcaveCollisionAlgorithm.h>

class btConvexShape;

namespace nxOgre
{

ATTRIBUTE_ALIGNED16(class) HullMeshCollision : public btActivatingCollisionAlgorithm
{
public:
    BT_DECLARE_ALIGNED_ALLOCATOR();

    HullMeshCollision(const btCollisionAlgorithmConstructionInfo& info, const btCollisionObjectWrapper* body0,
                      const btCollisionObjectWrapper* body1, bool swapped);

    void processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                          const btDispatcherInfo& dispatchInfo, btManifoldResult* resultOut) override;
    // Only a continuous dispatch asks, and our worlds step discretely.
    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override
    {
        return btScalar(1);
    }
    void getAllContactManifolds(btManifoldArray& manifolds) override;

    // Registered for hull against mesh, and swapped for mesh against hull.
    struct CreateFunc : btCollisionAlgorithmCreateFunc
    {
        explicit CreateFunc(bool swapped) { m_swapped = swapped; }
        btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                       const btCollisionObjectWrapper* body0,
                                                       const btCollisionObjectWrapper* body1) override;
    };

private:
    // Bullet's triangle pass, asked first whether the hull lies clear of each triangle's plane.
    ATTRIBUTE_ALIGNED16(class) PlaneFilteredTriangles : public btConvexTriangleCallback
    {
    public:
        BT_DECLARE_ALIGNED_ALLOCATOR();
        using btConvexTriangleCallback::btConvexTriangleCallback;
        void processTriangle(btVector3* triangle, int partId, int triangleIndex) override;

        const btConvexShape* hull = nullptr;
        btTransform hullInMesh;  // the hull's pose in the mesh's frame
        btVector3 boxCentre;     // the hull's own box, in the mesh's frame
        btVector3 boxHalfSize;   // along the hull's axes
        btScalar reach = 0;      // past this distance of the hull's core no contact is made
    };

    PlaneFilteredTriangles triangles;
    bool swapped;
};

}
