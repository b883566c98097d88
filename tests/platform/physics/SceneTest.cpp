// The physics scene: resting bodies, centre of mass, materials, ray casts and contact reports.
#include "TestCar.h"

#include "platform/physics/convexShape.h"
#include "platform/physics/world.h"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace nxOgre;

namespace
{
struct SceneFixture : ::testing::Test
{
    world physics{0, 1, ""};
    scene* sc = testcar::makeGameScene(physics);

    void run(float seconds)
    {
        const int steps = static_cast<int>(std::lround(seconds / testcar::kStep));
        for (int i = 0; i < steps; ++i)
            physics.frameStarted(FrameEvent{testcar::kStep, testcar::kStep});
    }
};

// Two squares side by side, 10 × 10 units each, at height y: x < 0 has material left, x > 0 right.
NxTriangleMeshPtr twoMaterialMesh(float y, NxMaterialIndex left, NxMaterialIndex right)
{
    NxTriangleMeshDesc desc;
    desc.points = {-10, y, -5, 0, y, -5, 0, y, 5, -10, y, 5, 10, y, -5, 10, y, 5};
    // Wound so that the faces look up.
    desc.triangles = {0, 2, 1, 0, 3, 2, 1, 5, 4, 1, 2, 5};
    desc.materialIndices = {left, left, right, right};
    return NxTriangleMesh::create(desc, nullptr);
}

struct Recorder : customContactReporter
{
    int calls = 0;
    btVector3 force{0, 0, 0};
    body* first = nullptr;
    body* second = nullptr;
    NxActor* firstActor = nullptr;
    bool onContact(body* a, body* b) override
    {
        ++calls;
        first = a;
        second = b;
        firstActor = currentPair->actors[0];
        force = currentPair->sumNormalForce;
        return true;
    }
};
}

TEST_F(SceneFixture, BoxComesToRestOnTheFloorAndOnAMesh)
{
    NxBoxShapeDesc box;
    box.dimensions = btVector3(0.5f, 0.25f, 0.5f);
    NxTriangleMeshShapeDesc meshShape;
    meshShape.meshData = twoMaterialMesh(2.0f, 0, 0);
    ASSERT_TRUE(meshShape.meshData);
    NxActorDesc ground;
    ground.shapes = {&meshShape};
    ASSERT_NE(sc->createActor(ground), nullptr);

    struct Case
    {
        const char* name;
        btVector3 start;
        float restHeight;
    };
    const Case cases[] = {{"on the floor", {30, 1, 0}, 0.25f}, {"on the mesh", {-3, 2.3f, 1}, 2.25f}};
    std::vector<NxActor*> boxes;
    for (const Case& c : cases)
    {
        NxActorDesc desc;
        desc.name = c.name;
        desc.dynamic = true;
        desc.mass = 10;
        desc.shapes = {&box};
        desc.globalPose.setOrigin(c.start);
        boxes.push_back(sc->createActor(desc));
        ASSERT_NE(boxes.back(), nullptr);
    }
    run(3.0f);
    for (std::size_t i = 0; i < boxes.size(); ++i)
    {
        const btVector3 rest = boxes[i]->getGlobalPosition();
        EXPECT_NEAR(rest.y(), cases[i].restHeight, 0.01f) << cases[i].name;
        EXPECT_NEAR(rest.x(), cases[i].start.x(), 0.01f) << cases[i].name;
        EXPECT_LT(boxes[i]->getLinearVelocity().length(), 0.01f) << cases[i].name;
    }
}

TEST_F(SceneFixture, MeshTreeLivesWhileActorsHoldTheMesh)
{
    // A paged store keeps thousands of meshes; only those with an actor in the world may
    // hold Bullet's shape and tree. Rays meet the mesh again once it is taken back.
    sc->getIdleMeshShapes().setTriangleBudget(0);  // given back, a tree goes at once
    NxTriangleMeshShapeDesc meshShape;
    meshShape.meshData = twoMaterialMesh(2.0f, 0, 0);
    meshShape.meshFlags = NX_MESH_SMOOTH_SPHERE_COLLISIONS;
    EXPECT_EQ(nullptr, meshShape.meshData->getShape());
    NxActorDesc ground;
    ground.shapes = {&meshShape};
    const NxRay down{{-4, 5, 2}, {0, -1, 0}};
    for (int round = 0; round < 2; ++round)
    {
        NxActor* first = sc->createActor(ground);
        NxActor* second = sc->createActor(ground);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        ASSERT_NE(nullptr, meshShape.meshData->getShape()) << round;
        NxRaycastHit hit;
        ASSERT_TRUE(sc->raycastClosestShape(down, NX_ALL_SHAPES, hit)) << round;
        EXPECT_NEAR(hit.distance, 3.0f, 1e-4f) << round;
        meshShape.meshData->buildInternalEdgeInfo();
        sc->releaseActor(first);
        EXPECT_NE(nullptr, meshShape.meshData->getShape()) << round;
        sc->releaseActor(second);
        EXPECT_EQ(nullptr, meshShape.meshData->getShape()) << round;
        EXPECT_FALSE(meshShape.meshData->hasInternalEdgeInfo()) << round;
    }
}

TEST_F(SceneFixture, GivenBackTreesWaitWithinTheBudgetTheLongestIdleGoingFirst)
{
    // A car driving to and fro over a cell border takes the same meshes back and forth: their
    // trees are kept while the idle ones stay within the budget.
    std::vector<NxTriangleMeshShapeDesc> meshes(3);
    for (NxTriangleMeshShapeDesc& mesh : meshes)
        mesh.meshData = twoMaterialMesh(2.0f, 0, 0);
    const std::size_t triangles = meshes[0].meshData->getTriangleCount();
    NxIdleMeshShapes& idle = sc->getIdleMeshShapes();
    idle.setTriangleBudget(2 * triangles);
    std::vector<btBvhTriangleMeshShape*> trees;
    for (NxTriangleMeshShapeDesc& mesh : meshes)
    {
        NxActorDesc ground;
        ground.shapes = {&mesh};
        NxActor* actor = sc->createActor(ground);
        ASSERT_NE(actor, nullptr);
        trees.push_back(mesh.meshData->getShape());
        sc->releaseActor(actor);
    }
    // Three given back, room for two: the first went.
    EXPECT_EQ(meshes[0].meshData->getShape(), nullptr);
    EXPECT_EQ(meshes[1].meshData->getShape(), trees[1]);
    EXPECT_EQ(meshes[2].meshData->getShape(), trees[2]);
    EXPECT_EQ(idle.getTriangles(), 2 * triangles);

    // Taken back, a kept tree is the same one; a mesh destroyed while idle leaves the list.
    NxActorDesc again;
    again.shapes = {&meshes[1]};
    NxActor* actor = sc->createActor(again);
    ASSERT_NE(actor, nullptr);
    EXPECT_EQ(meshes[1].meshData->getShape(), trees[1]);
    EXPECT_EQ(idle.getTriangles(), triangles);
    meshes[2].meshData.reset();
    EXPECT_EQ(idle.getTriangles(), 0u);
    sc->releaseActor(actor);
}

TEST(SceneIdleMeshShapes, MeshOutlivingItsSceneIsLetGoAndServesTheNextScene)
{
    // A track's meshes may outlive the race's physics: the scene that kept a given-back tree
    // frees it when it goes, and the next scene builds its own.
    NxTriangleMeshShapeDesc meshShape;
    meshShape.meshData = twoMaterialMesh(2.0f, 0, 0);
    NxActorDesc ground;
    ground.shapes = {&meshShape};
    const NxRay down{{-4, 5, 2}, {0, -1, 0}};
    for (int race = 0; race < 2; ++race)
    {
        world physics{0, 1, ""};
        scene* sc = testcar::makeGameScene(physics, false);
        NxActor* actor = sc->createActor(ground);
        ASSERT_NE(actor, nullptr) << race;
        NxRaycastHit hit;
        ASSERT_TRUE(sc->raycastClosestShape(down, NX_ALL_SHAPES, hit)) << race;
        EXPECT_NEAR(hit.distance, 3.0f, 1e-4f) << race;
        sc->releaseActor(actor);
        EXPECT_NE(nullptr, meshShape.meshData->getShape()) << "kept among the idle ones, race " << race;
        EXPECT_EQ(sc->getIdleMeshShapes().getTriangles(), meshShape.meshData->getTriangleCount()) << race;
    }
    EXPECT_EQ(nullptr, meshShape.meshData->getShape()) << "freed with the scene that kept it";
}

TEST_F(SceneFixture, SmoothMeshGetsItsEdgeDataAtItsFirstContactNotWithItsActor)
{
    // Actors made only for rays (a lightmap bake makes one for every shape of a track) must
    // not build the edge data; the first body to touch the mesh still slides on it.
    NxTriangleMeshShapeDesc meshShape;
    meshShape.meshData = twoMaterialMesh(2.0f, 0, 0);
    meshShape.meshFlags = NX_MESH_SMOOTH_SPHERE_COLLISIONS;
    NxActorDesc ground;
    ground.shapes = {&meshShape};
    ASSERT_NE(sc->createActor(ground), nullptr);
    NxRaycastHit hit;
    ASSERT_TRUE(sc->raycastClosestShape(NxRay{{-4, 5, 2}, {0, -1, 0}}, NX_ALL_SHAPES, hit));
    EXPECT_FALSE(meshShape.meshData->hasInternalEdgeInfo());

    NxBoxShapeDesc box;
    box.dimensions = btVector3(0.5f, 0.25f, 0.5f);
    NxActorDesc falling;
    falling.dynamic = true;
    falling.mass = 10;
    falling.shapes = {&box};
    falling.globalPose.setOrigin({-3, 2.5f, 1});
    NxActor* resting = sc->createActor(falling);
    ASSERT_NE(resting, nullptr);
    run(2.0f);
    EXPECT_TRUE(meshShape.meshData->hasInternalEdgeInfo());
    EXPECT_NEAR(resting->getGlobalPosition().y(), 2.25f, 0.01f);
}

TEST_F(SceneFixture, ConvexHullMassCentreAndItsOffset)
{
    // A hull of a 2 × 2 × 2 box centred at (1, 0, 0) in its body's frame.
    std::vector<NxVec3> points;
    for (int x : {0, 2})
        for (int y : {-1, 1})
            for (int z : {-1, 1})
                points.emplace_back(x, y, z);
    convexShape hull(points, 0);
    body* b = sc->createBody("hull", hull, 8.0f, pose(btVector3(0, 5, 0)));
    ASSERT_NE(b, nullptr);
    NxActor& actor = *b->getNxActor();
    EXPECT_NEAR(actor.getCMassLocalPosition().x(), 1.0f, 1e-4f);
    EXPECT_NEAR(actor.getCMassLocalPosition().y(), 0.0f, 1e-4f);
    // Inertia of a cube of mass 8, side 2: 8 × (4 + 4) / 12 about each axis.
    const btVector3 inertia = actor.getRigidBody()->getLocalInertia();
    EXPECT_NEAR(inertia.x(), 16.0f / 3.0f, 1e-3f);
    EXPECT_NEAR(inertia.z(), 16.0f / 3.0f, 1e-3f);

    // Moving the centre of mass leaves the actor where it is.
    actor.setCMassOffsetLocalPosition(btVector3(1, -0.5f, 0));
    EXPECT_NEAR((actor.getGlobalPosition() - btVector3(0, 5, 0)).length(), 0.0f, 1e-5f);
    EXPECT_NEAR((actor.getCMassGlobalPosition() - btVector3(1, 4.5f, 0)).length(), 0.0f, 1e-5f);
    // ... and it falls the same way: the hull lands with its bottom on the floor.
    run(3.0f);
    EXPECT_NEAR(actor.getGlobalPosition().y(), 1.0f, 0.01f);
}

TEST_F(SceneFixture, RaysReportShapePointAndTheTrianglesMaterial)
{
    material* asphalt = sc->createMaterial("asphalt", 0.1f, 1.0f, 0.9f);
    material* grass = sc->createMaterial("grass", 0.1f, 0.5f, 0.4f);
    NxTriangleMeshShapeDesc meshShape;
    meshShape.meshData = twoMaterialMesh(1.0f, asphalt->getMaterialIndex(), grass->getMaterialIndex());
    NxActorDesc ground;
    ground.shapes = {&meshShape};
    ground.shapeGroup = 3;
    NxActor* mesh = sc->createActor(ground);
    ASSERT_NE(mesh, nullptr);

    struct Case
    {
        const char* name;
        btVector3 origin;
        bool hitsMesh;
        NxMaterialIndex material;
        btVector3 point;
    };
    const Case cases[] = {
        {"left half", {-4, 5, 2}, true, asphalt->getMaterialIndex(), {-4, 1, 2}},
        {"right half", {7, 5, -3}, true, grass->getMaterialIndex(), {7, 1, -3}},
        {"beside the mesh: the floor", {20, 5, 0}, false, 0, {20, 0, 0}},
    };
    for (const Case& c : cases)
    {
        NxRaycastHit hit;
        ASSERT_TRUE(sc->raycastClosestShape(NxRay{c.origin, {0, -1, 0}}, NX_ALL_SHAPES, hit)) << c.name;
        EXPECT_EQ(hit.actor == mesh, c.hitsMesh) << c.name;
        EXPECT_EQ(hit.materialIndex, c.material) << c.name;
        EXPECT_NEAR((hit.worldImpact - c.point).length(), 0.0f, 1e-4f) << c.name;
        EXPECT_NEAR(hit.distance, c.origin.y() - c.point.y(), 1e-4f) << c.name;
        EXPECT_NEAR(hit.worldNormal.y(), 1.0f, 1e-4f) << c.name;
        if (c.hitsMesh)
        {
            EXPECT_EQ(hit.shape, &mesh->getShape(0)) << c.name;
            EXPECT_GE(hit.faceID, 0) << c.name;
        }
    }

    // The group word: without bit 3 the ray passes through the mesh to the floor.
    NxRaycastHit hit;
    ASSERT_TRUE(sc->raycastClosestShape(NxRay{{-4, 5, 2}, {0, -1, 0}}, NX_ALL_SHAPES, hit, ~(1u << 3)));
    EXPECT_NE(hit.actor, mesh);
    EXPECT_NEAR(hit.worldImpact.y(), 0.0f, 1e-4f);
    // Any-hit, the maximum distance and the shape kinds.
    EXPECT_TRUE(sc->raycastAnyShape(NxRay{{-4, 5, 2}, {0, -1, 0}}, NX_ALL_SHAPES, kAllShapeGroups, 4.5f));
    EXPECT_FALSE(sc->raycastAnyShape(NxRay{{-4, 5, 2}, {0, -1, 0}}, NX_ALL_SHAPES, kAllShapeGroups, 3.5f));
    EXPECT_FALSE(sc->raycastAnyShape(NxRay{{-4, 5, 2}, {0, -1, 0}}, NX_DYNAMIC_SHAPES));
    EXPECT_FALSE(sc->raycastAnyShape(NxRay{{-4, 5, 2}, {0, 1, 0}}, NX_ALL_SHAPES));
}

TEST_F(SceneFixture, UnknownMaterialNamesGiveTheDefault)
{
    EXPECT_EQ(sc->findMaterialIndex("no such material"), 0);
    EXPECT_EQ(sc->findMaterial("no such material"), nullptr);
    ASSERT_NE(sc->findMaterial("Default"), nullptr);
    material* first = sc->createMaterial("tyre", 0, 0, 0);
    EXPECT_EQ(sc->createMaterial("tyre", 1, 1, 1), first);
    EXPECT_EQ(first->getBounce(), 0.0f);
    EXPECT_EQ(sc->getMaterialFromIndex(999), sc->findMaterial("Default"));
}

TEST_F(SceneFixture, AnAliasNamesTheExistingMaterialAndItsFriction)
{
    material* ice = sc->createMaterial("ice", 0.0f, 0.0f, 0.0f);
    ASSERT_EQ(sc->createMaterialAlias("frozenPond", ice), ice);
    EXPECT_EQ(sc->findMaterial("frozenPond"), ice);
    EXPECT_EQ(sc->findMaterialIndex("frozenPond"), ice->getMaterialIndex());
    EXPECT_EQ(sc->createMaterialAlias("frozenPond", ice), ice) << "the same alias twice is harmless";
    EXPECT_EQ(ice->getName(), "ice") << "the material keeps its own name";

    // A taken name keeps what it names; a material of no scene or another scene is refused.
    material* grass = sc->createMaterial("grass", 0.1f, 0.5f, 0.5f);
    EXPECT_EQ(sc->createMaterialAlias("grass", ice), grass);
    EXPECT_EQ(sc->createMaterialAlias("Default", ice), sc->findMaterial("Default"));
    EXPECT_EQ(sc->findMaterialIndex("grass"), grass->getMaterialIndex());
    material stranger("stranger", ice->getMaterialIndex());
    EXPECT_EQ(sc->createMaterialAlias("strangerAlias", &stranger), nullptr);
    EXPECT_EQ(sc->createMaterialAlias("nothing", nullptr), nullptr);
    EXPECT_EQ(sc->findMaterial("strangerAlias"), nullptr);
    EXPECT_EQ(sc->findMaterialIndex("nothing"), 0);

    // Triangles tagged through the alias slide like ice: two icy boxes pushed at 3 units/s,
    // one over the alias' half of a mesh, one over the default half, neither reaching the
    // diagonal edge of its square.
    NxTriangleMeshShapeDesc meshShape;
    meshShape.meshData = twoMaterialMesh(1.0f, sc->findMaterialIndex("frozenPond"), 0);
    NxActorDesc ground;
    ground.shapes = {&meshShape};
    ASSERT_NE(sc->createActor(ground), nullptr);
    NxBoxShapeDesc box;
    box.dimensions = btVector3(0.5f, 0.25f, 0.5f);
    box.materialIndex = ice->getMaterialIndex();
    std::vector<NxActor*> boxes;
    for (float x : {-3.0f, 7.0f})
    {
        NxActorDesc desc;
        desc.dynamic = true;
        desc.mass = 10;
        desc.shapes = {&box};
        desc.globalPose.setOrigin(btVector3(x, 1.25f, -2));
        boxes.push_back(sc->createActor(desc));
        ASSERT_NE(boxes.back(), nullptr);
    }
    run(0.5f);
    for (NxActor* b : boxes)
        b->setLinearVelocity(btVector3(0, 0, -3));
    run(0.4f);
    EXPECT_NEAR(boxes[0]->getLinearVelocity().z(), -3.0f, 0.03f) << "on the alias' triangles";
    EXPECT_GT(boxes[1]->getLinearVelocity().z(), -2.0f) << "on the default material";
}

TEST_F(SceneFixture, ContactReportCarriesTheRestingWeight)
{
    NxBoxShapeDesc box;
    box.dimensions = btVector3(0.5f, 0.5f, 0.5f);
    NxActorDesc desc;
    desc.dynamic = true;
    desc.mass = 20;
    desc.shapes = {&box};
    desc.globalPose.setOrigin(btVector3(0, 0.6f, 0));
    desc.group = sc->findGroupIndex("crates");
    NxActor* crate = sc->createActor(desc);
    ASSERT_NE(crate, nullptr);
    Recorder recorder;
    sc->addContactReporter(&recorder);
    run(1.0f);
    EXPECT_EQ(recorder.calls, 0) << "the group does not report yet";

    sc->setGroupContactReport(desc.group, true);
    run(1.0f);
    ASSERT_GT(recorder.calls, 0);
    // The floor holds the crate up with its weight; the force points up on the crate.
    const float weight = 20.0f * testcar::kGravity;
    const btVector3 onCrate = recorder.firstActor == crate ? recorder.force : -recorder.force;
    EXPECT_NEAR(onCrate.y(), weight, weight * 0.05f);
    EXPECT_LT(std::fabs(onCrate.x()) + std::fabs(onCrate.z()), weight * 0.01f);

    sc->removeContactReporter(&recorder);
    const int before = recorder.calls;
    run(0.1f);
    EXPECT_EQ(recorder.calls, before);
}

TEST_F(SceneFixture, BadDescriptionsAreRefused)
{
    NxActorDesc empty;
    EXPECT_EQ(sc->createActor(empty), nullptr);
    NxTriangleMeshShapeDesc noMesh;
    NxActorDesc meshless;
    meshless.shapes = {&noMesh};
    EXPECT_EQ(sc->createActor(meshless), nullptr);
    NxBoxShapeDesc box;
    NxActorDesc massless;
    massless.dynamic = true;
    massless.shapes = {&box};
    EXPECT_EQ(sc->createActor(massless), nullptr);

    NxTriangleMeshDesc broken;
    broken.points = {0, 0, 0, 1, 0, 0, 0, 0, 1};
    broken.triangles = {0, 1, 3};
    std::string error;
    EXPECT_FALSE(NxTriangleMesh::create(broken, &error));
    EXPECT_NE(error.find("beyond 3 vertices"), std::string::npos) << error;
}

TEST_F(SceneFixture, OnlyPairsWithAMovingBodyAreTracked)
{
    // Two overlapping fixed boxes (the floor plane overlaps both) and a crate resting across them,
    // too high above the floor for its bounded box to reach it.
    NxBoxShapeDesc slab;
    slab.dimensions = btVector3(2, 0.5f, 2);
    btOverlappingPairCache& pairs = *sc->getDynamicsWorld().getBroadphase()->getOverlappingPairCache();
    for (float x : {-1.5f, 1.5f})
    {
        NxActorDesc fixed;
        fixed.shapes = {&slab};
        fixed.globalPose.setOrigin(btVector3(x, 0.4f, 0));
        ASSERT_NE(sc->createActor(fixed), nullptr);
    }
    run(0.02f);
    EXPECT_EQ(pairs.getNumOverlappingPairs(), 0) << "fixed shapes paired with each other";

    NxBoxShapeDesc box;
    box.dimensions = btVector3(0.5f, 0.5f, 0.5f);
    NxActorDesc crate;
    crate.dynamic = true;
    crate.mass = 10;
    crate.shapes = {&box};
    crate.globalPose.setOrigin(btVector3(0, 1.5f, 0));
    NxActor* body = sc->createActor(crate);
    ASSERT_NE(body, nullptr);
    run(1.0f);
    EXPECT_EQ(pairs.getNumOverlappingPairs(), 2) << "the crate with each slab, not with the floor below";
    EXPECT_NEAR(body->getGlobalPosition().y(), 1.4f, 0.02f) << "the crate rests on the slabs";
}

TEST_F(SceneFixture, MovedShapesAreFoundAtTheirNewPlace)
{
    // A fixed slab and a body moved by their poses, a body that falls: rays and the slab
    // meet each where it is now, not where its bounds were last computed.
    NxBoxShapeDesc slab;
    slab.dimensions = btVector3(1, 0.5f, 1);
    NxActorDesc fixedDesc;
    fixedDesc.shapes = {&slab};
    fixedDesc.globalPose.setOrigin(btVector3(0, 3, 0));
    NxActor* fixed = sc->createActor(fixedDesc);
    NxBoxShapeDesc box;
    box.dimensions = btVector3(0.25f, 0.25f, 0.25f);
    NxActorDesc bodyDesc;
    bodyDesc.dynamic = true;
    bodyDesc.mass = 1;
    bodyDesc.shapes = {&box};
    bodyDesc.globalPose.setOrigin(btVector3(20, 0.25f, 0));
    NxActor* body = sc->createActor(bodyDesc);
    ASSERT_NE(fixed, nullptr);
    ASSERT_NE(body, nullptr);
    run(0.5f);  // the body falls asleep on the floor

    NxRaycastHit hit;
    fixed->setGlobalPose(btTransform(btQuaternion::getIdentity(), btVector3(10, 3, 0)));
    ASSERT_TRUE(sc->raycastClosestShape(NxRay{{10, 10, 0}, {0, -1, 0}}, NX_STATIC_SHAPES, hit));
    EXPECT_NEAR(hit.worldImpact.y(), 3.5f, 1e-3f) << "the slab at its new place";
    EXPECT_FALSE(sc->raycastAnyShape(NxRay{{0, 10, 0}, {0, -1, 0}}, NX_STATIC_SHAPES, kAllShapeGroups, 8.0f))
        << "nor at its old one";

    body->setGlobalPose(btTransform(btQuaternion::getIdentity(), btVector3(10, 6, 0)));
    ASSERT_TRUE(sc->raycastClosestShape(NxRay{{10, 10, 0}, {0, -1, 0}}, NX_DYNAMIC_SHAPES, hit));
    EXPECT_NEAR(hit.worldImpact.y(), 6.25f, 1e-3f);
    run(2.0f);
    EXPECT_NEAR(body->getGlobalPosition().y(), 3.75f, 0.02f) << "the body falls onto the moved slab";
    ASSERT_TRUE(sc->raycastClosestShape(NxRay{{10, 10, 0}, {0, -1, 0}}, NX_DYNAMIC_SHAPES, hit));
    EXPECT_NEAR(hit.worldImpact.y(), 4.0f, 0.02f) << "and a ray finds it there";
}

TEST(WheelRays, GatheredForACarTheyHitWhatTheyHitAlone)
{
    // A road pad far out in the world, and wheel rays of a car pitched under braking: the
    // first two stop 3 cm above the pad (Bullet's cast against the box alone takes them for
    // hits), the last reaches into it.
    world physics{0, 1, ""};
    scene* sc = testcar::makeGameScene(physics, false);
    NxBoxShapeDesc padShape;
    padShape.dimensions = btVector3(150, 0.5f, 150);
    NxActorDesc pad;
    pad.shapes = {&padShape};
    pad.globalPose.setOrigin(btVector3(1536, 33.7290459f, 1536));
    ASSERT_NE(sc->createActor(pad), nullptr);
    struct Ray
    {
        btVector3 from, to;
        bool hit;
    };
    const Ray rays[] = {
        {{1407.35107f, 34.837326f, 1535.24109f}, {1407.349f, 34.25774f, 1535.21924f}, false},
        {{1404.64807f, 34.8097f, 1535.23523f}, {1404.65015f, 34.2299385f, 1535.21875f}, false},
        {{1407.35107f, 34.837326f, 1535.24109f}, {1407.349f, 34.15774f, 1535.21924f}, true},
    };
    for (const Ray& ray : rays)
    {
        const WheelRayHit alone = sc->castWheelRay(ray.from, ray.to, nullptr);
        sc->beginWheelRays(btVector3(1400, 34, 1530), btVector3(1410, 35, 1540));
        const WheelRayHit gathered = sc->castWheelRay(ray.from, ray.to, nullptr);
        sc->endWheelRays();
        EXPECT_EQ(alone.hit, ray.hit) << "ray to y " << ray.to.y();
        EXPECT_EQ(gathered.hit, ray.hit) << "ray to y " << ray.to.y();
        EXPECT_EQ(gathered.fraction, alone.fraction) << "ray to y " << ray.to.y();
    }
}
