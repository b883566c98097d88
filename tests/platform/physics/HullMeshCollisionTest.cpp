// A convex hull over a triangle mesh gives the same contacts with the plane-tested
// collision as with Bullet's own, touching, sunk in, tilted or hovering near the reach of
// a contact.
#include "platform/physics/HullMeshCollision.h"

#include <btBulletCollisionCommon.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using nxOgre::HullMeshCollision;

namespace
{
// Flat ground from x -4 to 0, then a 20° ramp up to x 4; 1 unit squares, two triangles each.
std::unique_ptr<btTriangleMesh> groundWithRamp()
{
    auto mesh = std::make_unique<btTriangleMesh>();
    const auto height = [](float x) { return x <= 0 ? 0.0f : x * 0.364f; };
    for (int i = -4; i < 4; ++i)
        for (int k = -4; k < 4; ++k)
        {
            const float x0 = static_cast<float>(i), x1 = x0 + 1, z0 = static_cast<float>(k), z1 = z0 + 1;
            const btVector3 a(x0, height(x0), z0), b(x1, height(x1), z0), c(x1, height(x1), z1), d(x0, height(x0), z1);
            mesh->addTriangle(a, c, b);
            mesh->addTriangle(a, d, c);
        }
    return mesh;
}

// A chassis-like hull: a box 2 × 0.6 × 1, a little narrower on top, with no margin.
std::unique_ptr<btConvexHullShape> chassis()
{
    auto hull = std::make_unique<btConvexHullShape>();
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sy = -1; sy <= 1; sy += 2)
            for (int sz = -1; sz <= 1; sz += 2)
                hull->addPoint(btVector3(sx * (sy > 0 ? 0.8f : 1.0f), sy * 0.3f, sz * 0.5f), false);
    hull->recalcLocalAabb();
    hull->setMargin(0.0f);
    hull->initializePolyhedralFeatures();
    return hull;
}

struct Contact
{
    btVector3 point, normal;
    btScalar distance;
};

// One collision pass of the hull at a pose over the mesh; the contacts found.
// The pair of the object added first comes to the dispatch first: both sides are tried.
std::vector<Contact> contactsAt(const btTransform& pose, btScalar meshMargin, bool hullFirst, bool planeTested)
{
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher(&configuration);
    HullMeshCollision::CreateFunc hullMesh(false), meshHull(true);
    if (planeTested)
    {
        dispatcher.registerCollisionCreateFunc(CONVEX_HULL_SHAPE_PROXYTYPE, TRIANGLE_MESH_SHAPE_PROXYTYPE, &hullMesh);
        dispatcher.registerCollisionCreateFunc(TRIANGLE_MESH_SHAPE_PROXYTYPE, CONVEX_HULL_SHAPE_PROXYTYPE, &meshHull);
    }
    btDbvtBroadphase broadphase;
    btCollisionWorld world(&dispatcher, &broadphase, &configuration);
    const auto triangles = groundWithRamp();
    btBvhTriangleMeshShape meshShape(triangles.get(), true);
    meshShape.setMargin(meshMargin);
    btCollisionObject ground;
    ground.setCollisionShape(&meshShape);
    const auto hull = chassis();
    btCollisionObject body;
    body.setCollisionShape(hull.get());
    body.setCollisionFlags(0);
    body.setWorldTransform(pose);
    world.addCollisionObject(hullFirst ? &body : &ground);
    world.addCollisionObject(hullFirst ? &ground : &body);
    world.performDiscreteCollisionDetection();
    std::vector<Contact> contacts;
    for (int m = 0; m < dispatcher.getNumManifolds(); ++m)
    {
        const btPersistentManifold* manifold = dispatcher.getManifoldByIndexInternal(m);
        for (int p = 0; p < manifold->getNumContacts(); ++p)
        {
            const btManifoldPoint& point = manifold->getContactPoint(p);
            contacts.push_back({point.getPositionWorldOnB(), point.m_normalWorldOnB, point.getDistance()});
        }
    }
    world.removeCollisionObject(&ground);
    world.removeCollisionObject(&body);
    return contacts;
}
}

TEST(HullMeshCollision, FindsTheContactsBulletsOwnCollisionFinds)
{
    struct Pose
    {
        const char* name;
        btVector3 centre;
        btQuaternion turn;
    };
    const btQuaternion level = btQuaternion::getIdentity();
    const btQuaternion tilted(btVector3(1, 0, 1).normalized(), 0.15f);
    const btQuaternion onRamp(btVector3(0, 0, 1), 0.3491f);
    std::vector<Pose> poses;
    // Heights of the hull's bottom over the flat part, across the reach of a contact.
    for (float gap : {-0.02f, 0.0f, 0.001f, 0.01f, 0.015f, 0.019f, 0.021f, 0.03f, 0.05f, 0.1f, 0.3f})
        poses.push_back({"level", btVector3(-2, 0.3f + gap, 0), level});
    for (float gap : {-0.02f, 0.005f, 0.05f, 0.2f})
    {
        poses.push_back({"tilted", btVector3(-2, 0.42f + gap, 0.3f), tilted});
        poses.push_back({"on the ramp", btVector3(2, 2 * 0.364f + 0.32f + gap, 0), onRamp});
        poses.push_back({"across the ramp's foot", btVector3(0.3f, 0.36f + gap, 0), level});
    }
    int touching = 0, clear = 0;
    for (bool hullFirst : {true, false})
        for (btScalar meshMargin : {0.0f, 0.04f})
            for (const Pose& pose : poses)
            {
                const btTransform at(pose.turn, pose.centre);
                const std::vector<Contact> expected = contactsAt(at, meshMargin, hullFirst, false);
                const std::vector<Contact> found = contactsAt(at, meshMargin, hullFirst, true);
                const std::string where = std::string(pose.name) + " at height " + std::to_string(pose.centre.y()) +
                                          ", mesh margin " + std::to_string(meshMargin) +
                                          (hullFirst ? ", hull first" : ", mesh first");
                ASSERT_EQ(found.size(), expected.size()) << where;
                for (std::size_t i = 0; i < found.size(); ++i)
                {
                    EXPECT_EQ(found[i].point, expected[i].point) << where << ", contact " << i;
                    EXPECT_EQ(found[i].normal, expected[i].normal) << where << ", contact " << i;
                    EXPECT_EQ(found[i].distance, expected[i].distance) << where << ", contact " << i;
                }
                ++(expected.empty() ? clear : touching);
            }
    // Both kinds of pose were met, else the comparison says little.
    EXPECT_GT(touching, 10);
    EXPECT_GT(clear, 10);
}
