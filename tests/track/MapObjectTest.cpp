// The loaded track on small tile sets of our own: units, the coverage mask, start, finish
// and gates, tile rotations and offsets, replaced cells, and every malformed track refused
// before anything is kept.
#include "XMLParser.h"
#include "track/CheckPointTracker.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"
#include "track/TrackGraph.h"
#include "track/TrackTile.h"

#include "support/RaceTestScene.h"
#include "support/TempFolder.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
// One tile description file; extra goes inside <TrackObject>, meshes inside <Meshes>.
std::string tileXml(const std::string& name, int width, int height, const std::string& flags,
                    const std::string& meshes, const std::string& extra = "")
{
    return "<TrackObject name=\"" + name + "\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\" x=\"0\" y=\"0\" " + flags + ">\n<Picture>TileStraight.png</Picture>\n<Meshes>" +
           meshes + "</Meshes>\n" + extra + "</TrackObject>\n";
}

const std::string kStraightMeshes =
    "<Graphic>TileStraight.mesh</Graphic><Physic smooth=\"true\">TileStraightPhysic.mesh</Physic>";

struct PlacedTile
{
    std::string name;
    int x, y, rotation;
    int checkpoint = -1;
};

class MapObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        addTile("Pad", tileXml("Pad", 1, 1, "start=\"true\" finish=\"true\"", kStraightMeshes));
        addTile("Start", tileXml("Start", 1, 1, "start=\"true\"", kStraightMeshes));
        addTile("Finish", tileXml("Finish", 1, 1, "finish=\"true\"", kStraightMeshes));
        addTile("Block", tileXml("Block", 1, 1, "", kStraightMeshes,
                                 "<Vegetation><Rect x1=\"0\" y1=\"0\" x2=\"8\" y2=\"8\" /></Vegetation>"));
        addTile("Long", tileXml("Long", 2, 1, "", kStraightMeshes,
                                "<Vegetation><Rect x1=\"0\" y1=\"0\" x2=\"17\" y2=\"8\" /></Vegetation>"));
        addTile("Tall", tileXml("Tall", 1, 2, "", kStraightMeshes));
        addTile("Turned", tileXml("Turned", 1, 2, "",
                                  "<Graphic><North>TileStraight.mesh</North><East>TileCurve.mesh</East>"
                                  "<South>TileStraight.mesh</South><West>TileCurve.mesh</West></Graphic>"
                                  "<Physic>TileStraightPhysic.mesh</Physic>"));
        addTile("Broken", tileXml("Broken", 1, 1, "", "<Graphic>NoSuchTile.mesh</Graphic>"));
        addTile("BrokenPhysic", tileXml("BrokenPhysic", 1, 1, "",
                                        "<Graphic>TileStraight.mesh</Graphic><Physic>NoSuchPhysic.mesh</Physic>"));
        listPath = folder.write("TrackObjectList.xml", "<TrackObjects>" + listEntries + "</TrackObjects>");
    }

    void addTile(const std::string& name, const std::string& xml)
    {
        listEntries += "<Name>" + folder.write(name + ".xml", xml) + "</Name>";
    }

    std::string writeTrack(const std::vector<PlacedTile>& placed, const std::string& fileName = "Test.map")
    {
        std::string xml = "<Map name=\"" + fileName + "\" highscore=\"Test.sde\" terrain=\"Grass\">\n";
        for (const PlacedTile& tile : placed)
            xml += "<TrackObject name=\"" + tile.name + "\" rotation=\"" + std::to_string(tile.rotation) + "\" x=\"" +
                   std::to_string(tile.x) + "\" y=\"" + std::to_string(tile.y) + "\"" +
                   (tile.checkpoint >= 0 ? " checkpoint=\"" + std::to_string(tile.checkpoint) + "\"" : "") + " />\n";
        return folder.write(fileName, xml + "</Map>\n");
    }

    void load(const std::vector<PlacedTile>& placed) { track.load(writeTrack(placed), listPath); }

    // Every covered mask cell as (row, column).
    std::vector<std::pair<int, int>> coveredCells() const
    {
        std::vector<std::pair<int, int>> cells;
        for (int row = 0; row < MapObject::kCoverageSize; ++row)
            for (int column = 0; column < MapObject::kCoverageSize; ++column)
                if (track.getCoverageCell(row, column) == MapObject::kCovered)
                    cells.emplace_back(row, column);
        return cells;
    }

    size_t entityCount() { return scene.getSceneManager()->getMovableObjects("Entity").size(); }

    TempFolder folder;
    std::string listEntries;
    std::string listPath;
    RaceTestScene scene;
    MapObject track{&scene, scene.getPhysicScene()};
};

// The covered rectangle rows a0..a1, columns b0..b1, and nothing else.
void expectCoveredRectangle(const std::vector<std::pair<int, int>>& cells, int a0, int a1, int b0, int b1)
{
    ASSERT_EQ(static_cast<size_t>((a1 - a0 + 1) * (b1 - b0 + 1)), cells.size());
    for (const auto& [row, column] : cells)
    {
        EXPECT_TRUE(row >= a0 && row <= a1 && column >= b0 && column <= b1) << row << ", " << column;
    }
}
}

TEST_F(MapObjectTest, UnitsFollowTheTerrain)
{
    EXPECT_FLOAT_EQ(6.0f, track.getTileSize());
    EXPECT_EQ(Ogre::Vector2(11, 11), track.getTileCentre(0, 0));
    track.setScale(1.0f, 1.5f);
    EXPECT_FLOAT_EQ(2.0f, track.getPageSize());
    track.setScale(12.0f, 257.0f);
    EXPECT_FLOAT_EQ(3 * 12.0f * 257 / 256, track.getTileSize());
    const Ogre::Vector2 centre = track.getTileCentre(79, 2);
    EXPECT_FLOAT_EQ((3 * 79 + 8) * 12.0f + track.getTileSize() / 2, centre.x);
    EXPECT_FLOAT_EQ((3 * 2 + 8) * 12.0f + track.getTileSize() / 2, centre.y);
    // Free area: 6.4 boundary units in from both ends of the terrain.
    EXPECT_FLOAT_EQ(static_cast<float>(6.4 * 12.0 * 257 / 256), track.getBoundaryLow());
    EXPECT_FLOAT_EQ(static_cast<float>(12.0 * 257 - 6.4 * 12.0 * 257 / 256), track.getBoundaryHigh());
}

TEST_F(MapObjectTest, CornerOffsetsOfTurnedFootprints)
{
    TrackObjectDesc desc;
    desc.width = 3;
    desc.height = 2;
    const struct
    {
        int rotation;
        Ogre::Vector2 offset;
    } cases[] = {{0, {0, 0}}, {1, {0, 1}}, {2, {2, 1}}, {3, {2, 0}}, {4, {0, 0}}, {-1, {0, 0}}};
    for (const auto& c : cases)
        EXPECT_EQ(c.offset, MapObject::getCornerOffset(desc, c.rotation)) << c.rotation;
}

TEST_F(MapObjectTest, VegetationRectanglesCoverTheMaskUnderTheTurnedTile)
{
    load({{"Pad", 40, 40, 0}, {"Block", 0, 0, 0}});
    expectCoveredRectangle(coveredCells(), 0, 8, 0, 8);
}

TEST_F(MapObjectTest, TwoCellTileTurnedOnceCoversItsTurnedFootprint)
{
    load({{"Pad", 40, 40, 0}, {"Long", 10, 20, 1}});
    expectCoveredRectangle(coveredCells(), 90, 98, 180, 197);
}

TEST_F(MapObjectTest, CoverageBlendsBetweenCellCentresAndReachesTheLastRowAndColumn)
{
    load({{"Pad", 40, 40, 0}, {"Block", 5, 5, 0}, {"Block", 79, 79, 0}, {"Block", 0, 79, 0}});
    // World position of mask cell coordinate k (its left edge) at scale 1.
    const auto at = [](float k) { return 8.0f + k / 3.0f; };
    const struct
    {
        const char* what;
        float cellX, cellZ;
        float coverage;
    } cases[] = {
        {"centre of a covered block", 49.5f, 49.5f, 255},
        {"free ground", 20.5f, 20.5f, 0},
        {"half-way into the block's first cell", 45.0f, 49.5f, 127.5f},
        {"centre of cell 711, the last tile's first", 711.5f, 711.5f, 255},
        {"edge of the last tile", 711.0f, 715.0f, 127.5f},
        {"last cell's far half", 719.9f, 719.9f, 255},
        {"last column, first row", 4.5f, 715.0f, 255},
        {"past the mask", 720.1f, 715.0f, 0},
        {"before the mask", -0.1f, 4.0f, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.coverage, track.getCoverage(at(c.cellX), at(c.cellZ)), 1e-2f) << c.what;
}

TEST_F(MapObjectTest, StartFinishAndGatesComeFromTheirTiles)
{
    track.setScale(12.0f, 257.0f);
    load({{"Start", 10, 11, 2}, {"Finish", 30, 11, 3}, {"Long", 20, 11, 0, 4}, {"Block", 15, 11, 1, 1}});
    const Ogre::Vector2 start = track.getTileCentre(10, 11);
    EXPECT_EQ(Ogre::Vector3(start.x, 0, start.y), track.getStartPosition());
    EXPECT_TRUE(track.getStartOrientation().equals(Ogre::Quaternion(Ogre::Degree(-90), Ogre::Vector3::UNIT_Y),
                                                   Ogre::Radian(1e-3f)));
    CheckPointTracker& tracker = *track.getCheckPointTracker();
    EXPECT_EQ(start, tracker.getStartPosition());
    EXPECT_EQ(2, tracker.getGateCount());
    EXPECT_EQ(1, tracker.getCurrentKey());
    EXPECT_EQ(track.getTileCentre(15, 11), tracker.getCheckPointPosition(0));
    EXPECT_EQ(track.getTileCentre(20, 11), tracker.getCheckPointPosition(1));
    EXPECT_EQ(track.getTileCentre(30, 11), tracker.getCheckPointPosition(2));
    EXPECT_EQ(track.getTileCentre(30, 11), tracker.getFinishPosition());
}

TEST_F(MapObjectTest, SingleMeshTilesAreTurnedAndShiftedPerDirectionTilesAreNot)
{
    load({{"Pad", 40, 40, 0}, {"Tall", 10, 10, 1}, {"Turned", 20, 20, 3}, {"Tall", 30, 30, 2}});
    const TrackTile& tall = *track.getTile(10, 10);
    EXPECT_EQ(-1, tall.getRenderRotation());
    EXPECT_EQ(-1, tall.getPhysicRotation());
    EXPECT_EQ(Ogre::Vector2(0, -1), tall.getRenderOffset());
    EXPECT_EQ(Ogre::Vector2(0, -1), tall.getPhysicOffset());
    const TrackTile& turned = *track.getTile(20, 20);
    EXPECT_EQ(0, turned.getRenderRotation());
    EXPECT_EQ(Ogre::Vector2::ZERO, turned.getRenderOffset());
    EXPECT_EQ(-3, turned.getPhysicRotation());  // one physics mesh: turned
    EXPECT_EQ(Ogre::Vector2(0, 0), turned.getPhysicOffset());
    EXPECT_EQ(Ogre::Vector2(0, -1), track.getTile(30, 30)->getRenderOffset());
}

TEST_F(MapObjectTest, TileOnATakenCellReplacesTheEarlierOne)
{
    load({{"Pad", 40, 40, 0}, {"Block", 5, 5, 0}, {"Tall", 5, 5, 0}});
    EXPECT_EQ(2, track.getTileCount());
    const std::string name = track.getTile(5, 5)->getName();
    EXPECT_EQ("Tall.", name.substr(0, 5));
    // The earlier tile is gone with its meshes and entities: one display clone per remaining
    // tile (the collision shapes are made from the tile types' meshes, not from copies).
    EXPECT_EQ(2u, entityCount());
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    size_t clones = 0;
    for (const auto& resource : meshes.getResourceIterator())
        clones += resource.second->getName().find("_RenderMesh") != std::string::npos;
    EXPECT_EQ(2u, clones);
}

TEST_F(MapObjectTest, TilesOffTheGridAreSkippedAndTheRestLoads)
{
    load({{"Pad", 40, 40, 0},
          {"Block", 80, 3, 0},
          {"Block", 3, -1, 0},
          {"Long", 79, 3, 0},
          {"Long", 3, 79, 1},
          {"Long", 78, 79, 0},
          {"Block", 79, 79, 0, 1}});
    EXPECT_EQ(3, track.getTileCount());
    EXPECT_NE(nullptr, track.getTile(40, 40));
    EXPECT_NE(nullptr, track.getTile(78, 79));
    EXPECT_NE(nullptr, track.getTile(79, 79));
    EXPECT_EQ(1, track.getCheckPointTracker()->getGateCount());
    // Only the kept tiles cover the mask: nothing of the skipped ones, no cell past the edge.
    expectCoveredRectangle(coveredCells(), 78 * 9, 80 * 9 - 1, 79 * 9, 80 * 9 - 1);
}

TEST_F(MapObjectTest, MalformedTracksAreRefusedAndNothingIsKept)
{
    const struct
    {
        const char* what;
        std::vector<PlacedTile> placed;
        const char* problem;
    } cases[] = {
        {"unknown tile", {{"Pad", 40, 40, 0}, {"Nothing", 3, 3, 0}}, "unknown tile"},
        {"rotation 4", {{"Pad", 40, 40, 0}, {"Block", 3, 3, 4}}, "rotation"},
        {"rotation -1", {{"Pad", 40, 40, 0}, {"Block", 3, 3, -1}}, "rotation"},
        {"no start", {{"Finish", 40, 40, 0}, {"Block", 3, 3, 0}}, "no start"},
        {"no finish", {{"Start", 40, 40, 0}, {"Block", 3, 3, 0}}, "no finish"},
        {"empty track", {}, "no start"},
        {"missing render mesh", {{"Pad", 40, 40, 0}, {"Block", 3, 3, 0}, {"Broken", 4, 4, 0}}, "NoSuchTile.mesh"},
        {"missing physics mesh", {{"Pad", 40, 40, 0}, {"BrokenPhysic", 4, 4, 0}}, "NoSuchPhysic.mesh"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string path = writeTrack(c.placed);
        try
        {
            track.load(path, listPath);
            ADD_FAILURE() << "accepted";
        }
        catch (const DataFileError& error)
        {
            EXPECT_EQ(path, error.getFile());
            EXPECT_EQ("Unable to read map!", error.getMessage());
            EXPECT_NE(std::string::npos, error.getProblem().find(c.problem)) << error.getProblem();
        }
        EXPECT_EQ(0, track.getTileCount());
        EXPECT_TRUE(coveredCells().empty());
        EXPECT_EQ(0u, entityCount());
        EXPECT_EQ(0, track.getCheckPointTracker()->getGateCount());
    }
    for (const std::string& broken : {std::string("<Map><TrackObject"), std::string("not xml at all")})
        EXPECT_THROW(track.load(folder.write("Bad.map", broken), listPath), DataFileError);
    EXPECT_THROW(track.load(folder.path() + "Missing.map", listPath), DataFileError);
    EXPECT_THROW(track.load(writeTrack({{"Pad", 1, 1, 0}}), folder.path() + "NoList.xml"), DataFileError);
}

TEST_F(MapObjectTest, TurnedTileIsShiftedScaledTurnedAndDrapedOnTheTerrain)
{
    // A probe mesh of one triangle: two points on the first cell's centre, half a unit below
    // and above the tile's plane, and one on the second cell's centre; normals along +x.
    Ogre::SceneManager* sceneManager = scene.getSceneManager();
    Ogre::ManualObject* probe = sceneManager->createManualObject("ProbeShape");
    probe->begin("BaseWhite", Ogre::RenderOperation::OT_TRIANGLE_LIST);
    for (const Ogre::Vector3& point : {Ogre::Vector3(0, -0.5f, 0), Ogre::Vector3(0, 0.5f, 0), Ogre::Vector3(0, 0, 3)})
    {
        probe->position(point);
        probe->normal(Ogre::Vector3::UNIT_X);
    }
    probe->end();
    probe->convertToMesh("ProbeTile.mesh");
    sceneManager->destroyManualObject(probe);
    addTile("Probe", tileXml("Probe", 1, 2, "", "<Graphic>ProbeTile.mesh</Graphic>"));
    listPath = folder.write("TrackObjectList.xml", "<TrackObjects>" + listEntries + "</TrackObjects>");

    TerrainObject& terrain = *scene.getTerrainObject();
    terrain.load("Valley");
    track.setScale(terrain.getHorizontalScale(), terrain.getPageSize());
    load({{"Pad", 40, 40, 0}, {"Probe", 10, 10, 1}});
    track.buildTiles();
    const TrackTile& tile = *track.getTile(10, 10);
    ASSERT_NE(nullptr, tile.getEntity());

    // Shifted back one cell, scaled and turned by -90 degrees about +y: the
    // model's first cell lands one tile pitch along +x, its second on the tile's own cell.
    const float pitch = 3 * terrain.getHorizontalScale();
    const float lift = 0.5f * terrain.getHorizontalScale();
    const Ogre::Vector2 centre = track.getTileCentre(10, 10);
    const Ogre::Vector2 expected[] = {{centre.x + pitch, centre.y}, {centre.x + pitch, centre.y}, centre};
    const float heightAbove[] = {lift, lift, 0};
    const Ogre::Vector3 node = tile.getNode()->getPosition();
    Ogre::VertexData& data = *tile.getEntity()->getMesh()->getSubMesh(0)->vertexData;
    const Ogre::VertexElement* position = data.vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
    const Ogre::VertexElement* normal = data.vertexDeclaration->findElementBySemantic(Ogre::VES_NORMAL);
    Ogre::HardwareVertexBufferSharedPtr buffer = data.vertexBufferBinding->getBuffer(position->getSource());
    ASSERT_EQ(position->getSource(), normal->getSource());
    auto* base = static_cast<unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    for (size_t i = 0; i < 3; ++i)
    {
        float* p = nullptr;
        float* n = nullptr;
        position->baseVertexPointerToElement(base + i * buffer->getVertexSize(), &p);
        normal->baseVertexPointerToElement(base + i * buffer->getVertexSize(), &n);
        const Ogre::Vector3 world = node + Ogre::Vector3(p[0], p[1], p[2]);
        EXPECT_NEAR(expected[i].x, world.x, 1e-3f) << i;
        EXPECT_NEAR(expected[i].y, world.z, 1e-3f) << i;
        EXPECT_NEAR(terrain.getHeight(world.x, world.z) + heightAbove[i], world.y, 1e-3f) << i;
        EXPECT_TRUE(Ogre::Vector3(n[0], n[1], n[2]).positionEquals(Ogre::Vector3::UNIT_Z, 1e-5f)) << i;
    }
    buffer->unlock();
}
