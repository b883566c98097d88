// The paged store: cells, names, loading around awake bodies, unloading, removal.
#include "ClockedPhysicBase.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
constexpr unsigned kGrid = PhysicBase::kGridSize;

unsigned cellIndex(unsigned x, unsigned z)
{
    return z * kGrid + x;
}

Ogre::Vector3 cellCentre(unsigned x, unsigned z, float y = 0.0f)
{
    return Ogre::Vector3(x * 125.0f + 62.5f, y, z * 125.0f + 62.5f);
}

// A body shape made straight from a description the test owns.
struct BorrowedShape : nxOgre::shape
{
    explicit BorrowedShape(const nxOgre::NxShapeDesc& d) : shape(1), desc(d) {}
    const char* getShapeAsString() const override { return "Borrowed"; }
    const nxOgre::NxShapeDesc* getDescription() const override { return &desc; }
    const nxOgre::NxShapeDesc& desc;
};

struct PagingFixture : ::testing::Test
{
    ClockedPhysicBase physics{nullptr, nullptr};
    nxOgre::scene* scene = physics.init();
    nxOgre::NxBoxShapeDesc block;  // one small block per registered cell

    PagingFixture() { block.dimensions = btVector3(1, 1, 1); }

    // Registers one block in every cell of the square x0..x1, z0..z1.
    void fillCells(unsigned x0, unsigned x1, unsigned z0, unsigned z1)
    {
        for (unsigned z = z0; z <= z1; ++z)
            for (unsigned x = x0; x <= x1; ++x)
            {
                std::string name = "block " + std::to_string(x) + "," + std::to_string(z);
                physics.addStaticShape(name, &block, cellCentre(x, z, -5.0f));
            }
    }
    std::set<unsigned> loadedCells() const
    {
        std::set<unsigned> cells;
        for (unsigned i = 0; i < kGrid * kGrid; ++i)
            if (physics.isCellLoaded(i))
                cells.insert(i);
        return cells;
    }
    static std::set<unsigned> block3x3(unsigned x, unsigned z)
    {
        std::set<unsigned> cells;
        for (unsigned cz = z - 1; cz <= z + 1; ++cz)
            for (unsigned cx = x - 1; cx <= x + 1; ++cx)
                cells.insert(cellIndex(cx, cz));
        return cells;
    }
    nxOgre::body* floatingBall(const Ogre::Vector3& at)
    {
        scene->hasGravity(false);
        nxOgre::NxSphereShapeDesc ball;
        return scene->createBody("ball", BorrowedShape(ball), 1.0f, nxOgre::pose(btVector3(at.x, at.y, at.z)));
    }
};
}

TEST_F(PagingFixture, PositionsFallIntoCellsByTruncation)
{
    struct Case
    {
        const char* name;
        Ogre::Vector3 position;
        bool inside;
        unsigned x, z;
    };
    const Case cases[] = {
        {"origin", {0, 0, 0}, true, 0, 0},
        {"-50 truncates to column 0", {-50, 0, 10}, true, 0, 0},
        {"-130 is outside", {-130, 0, 10}, false, 0, 0},
        {"just below a cell edge", {124.9f, 0, 250}, true, 0, 2},
        {"on a cell edge", {125, 0, 3999}, true, 1, 31},
        {"x = 4000 is outside", {4000, 0, 0}, false, 0, 0},
        {"z = 4000 is outside", {0, 0, 4000}, false, 0, 0},
        {"height does not matter", {10, -9999, 10}, true, 0, 0},
    };
    for (const Case& c : cases)
    {
        Ogre::Vector3 position = c.position;
        unsigned x = 99, z = 99;
        EXPECT_EQ(physics.getCell(position, x, z), c.inside) << c.name;
        if (c.inside)
        {
            EXPECT_EQ(x, c.x) << c.name;
            EXPECT_EQ(z, c.z) << c.name;
        }
        else
        {
            EXPECT_EQ(x, 99u) << c.name << ": outputs untouched";
        }
        EXPECT_EQ(position, c.position / 125.0f) << c.name << ": divided in place";
    }
}

TEST_F(PagingFixture, NamesAreGeneratedAndTheFirstRegistrationStays)
{
    std::string first, second;
    physics.addStaticShape(first, &block, cellCentre(1, 1));
    physics.addStaticShape(second, &block, cellCentre(1, 1));
    EXPECT_EQ(first, "SRPhysicBase_StaticShape_0");
    EXPECT_EQ(second, "SRPhysicBase_StaticShape_1");

    nxOgre::NxBoxShapeDesc other;
    other.dimensions = btVector3(3, 3, 3);
    std::string same = "tile";
    physics.addStaticShape(same, &block, cellCentre(2, 2));
    physics.addStaticShape(same, &other, cellCentre(5, 5));  // ignored
    std::string outside = "far away";
    physics.addStaticShape(outside, &block, Ogre::Vector3(-500, 0, 0));
    physics.setPaging(false);  // loads every cell with registrations
    EXPECT_EQ(loadedCells(), (std::set<unsigned>{cellIndex(1, 1), cellIndex(2, 2)}));
    EXPECT_EQ(physics.getPagedActorCount(), 3u);
}

TEST_F(PagingFixture, CellsAroundAMovingBodyLoadAndTheRestUnload)
{
    fillCells(5, 15, 5, 15);
    nxOgre::body* ball = floatingBall(cellCentre(10, 10, 20));
    ASSERT_NE(ball, nullptr);
    physics.setPaging(true);
    EXPECT_EQ(loadedCells(), block3x3(10, 10));
    EXPECT_EQ(physics.getPagedActorCount(), 9u);

    // Move two cells along x: the old block goes, the new one comes, in the update of a frame
    // that steps.
    ball->setGlobalPosition(btVector3(cellCentre(12, 10).x, 20, cellCentre(12, 10).z));
    physics.resume();
    physics.frameTimesMs.push_back(5);
    physics.update();
    EXPECT_EQ(loadedCells(), block3x3(10, 10)) << "no step, no paging";
    physics.frameTimesMs.push_back(10);
    physics.update();
    EXPECT_EQ(loadedCells(), block3x3(12, 10));
    EXPECT_EQ(physics.getPagedActorCount(), 9u);

    // At the edge of the registrations only the cells that hold something load.
    ball->setGlobalPosition(btVector3(cellCentre(15, 15).x, 20, cellCentre(15, 15).z));
    physics.pagingUpdate();
    EXPECT_EQ(loadedCells(), (std::set<unsigned>{cellIndex(14, 14), cellIndex(15, 14), cellIndex(14, 15),
                                                 cellIndex(15, 15)}));
}

TEST_F(PagingFixture, SleepingBodiesKeepNothingLoadedAndStayAsleep)
{
    fillCells(3, 5, 3, 5);
    nxOgre::body* ball = floatingBall(cellCentre(4, 4, 20));
    physics.setPaging(true);
    EXPECT_EQ(loadedCells(), block3x3(4, 4));
    ball->putToSleep();
    physics.pagingUpdate();
    EXPECT_TRUE(loadedCells().empty());
    EXPECT_EQ(physics.getPagedActorCount(), 0u);
    EXPECT_TRUE(ball->isSleeping());
}

TEST_F(PagingFixture, RemovalUnloadsEverythingUntilTheNextUpdate)
{
    fillCells(3, 5, 3, 5);
    floatingBall(cellCentre(4, 4, 20));
    physics.setPaging(true);
    physics.removeStaticShape("block 3,3");
    EXPECT_TRUE(loadedCells().empty());
    physics.pagingUpdate();
    EXPECT_EQ(physics.getPagedActorCount(), 8u) << "the removed one does not come back";

    physics.setPaging(false);
    physics.removeStaticShape("not registered");  // only the forced unload
    EXPECT_TRUE(loadedCells().empty());
    physics.pagingUpdate();
    EXPECT_TRUE(loadedCells().empty()) << "with paging off, only switching brings them back";
    physics.setPaging(false);
    EXPECT_EQ(physics.getPagedActorCount(), 8u);
}

TEST_F(PagingFixture, StaticActorsPageToo)
{
    nxOgre::NxActorDesc trunk;
    trunk.shapes = {&block};
    trunk.globalPose.setOrigin(btVector3(cellCentre(7, 7).x, 1, cellCentre(7, 7).z));
    trunk.name = "what the caller called it";
    physics.addStaticActor("palm", trunk, cellCentre(7, 7));
    physics.setPaging(false);
    EXPECT_EQ(loadedCells(), std::set<unsigned>{cellIndex(7, 7)});
    nxOgre::NxRaycastHit hit;
    ASSERT_TRUE(scene->raycastClosestShape(nxOgre::NxRay{trunk.globalPose.getOrigin() + btVector3(0, 10, 0), {0, -1, 0}},
                                           nxOgre::NX_STATIC_SHAPES, hit));
    EXPECT_NEAR(hit.worldImpact.y(), 2.0f, 1e-4f);
    EXPECT_EQ(hit.actor->getGroup(), scene->findGroupIndex("static"));
    EXPECT_EQ(hit.actor->getName(), "palm") << "the stored name, not the description's, names the actor";

    physics.clearPagedActors();
    EXPECT_EQ(physics.getPagedActorCount(), 0u);
    physics.setPaging(false);
    EXPECT_TRUE(loadedCells().empty()) << "cleared actor descriptions are forgotten";
}

TEST_F(PagingFixture, BoxComesToRestOnAPagedMesh)
{
    // A 20 × 20 square at height 3 registered at the centre of cell (8, 8).
    nxOgre::NxTriangleMeshDesc square;
    square.points = {-10, 3, -10, 10, 3, -10, 10, 3, 10, -10, 3, 10};
    square.triangles = {0, 2, 1, 0, 3, 2};
    nxOgre::NxTriangleMeshShapeDesc meshShape;
    meshShape.meshData = nxOgre::NxTriangleMesh::create(square, nullptr);
    std::string name = "tile";
    physics.addStaticShape(name, &meshShape, cellCentre(8, 8));

    nxOgre::NxBoxShapeDesc box;
    box.dimensions = btVector3(0.5f, 0.5f, 0.5f);
    const BorrowedShape boxShape(box);
    const Ogre::Vector3 start = cellCentre(8, 8, 3.6f);
    nxOgre::body* crate = scene->createBody("crate", boxShape, 10.0f, nxOgre::pose(btVector3(start.x, start.y, start.z)));
    physics.setPaging(true);
    physics.resume();
    physics.setFixedFrame(true);
    physics.update();
    EXPECT_NEAR(crate->getGlobalPosition().y(), 3.5f, 0.01f);
    EXPECT_TRUE(physics.isCellLoaded(cellIndex(8, 8)));
}
