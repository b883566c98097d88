// Every built-in track loaded on its terrain and built headless: tiles draped on the
// ground, collision shapes in the paged store, coverage, gates, path and spline; the
// boundary planes; the tile lightmaps baked once and then taken from the cache.
#include "FolderManager.h"
#include "XMLParser.h"
#include "physic/PhysicBase.h"
#include "platform/physics/NxActorDesc.h"
#include "platform/physics/NxRaycastHit.h"
#include "platform/physics/scene.h"
#include "track/CheckPointTracker.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"
#include "track/TrackGraph.h"
#include "track/TrackSpline.h"
#include "track/TrackTile.h"

#include "support/BuiltInTracks.h"
#include "support/OfflineEngine.h"
#include "support/RaceTestScene.h"
#include "support/TempFolder.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace
{
const std::string kMaps = "../media/maps/";

// Loads and builds a track the way the race scene does, up to the spline.
void buildTrack(RaceTestScene& scene, MapObject& track, const std::string& fileName)
{
    const auto description = XMLParser::getInstance()->loadMapDescription(kMaps + fileName);
    TerrainObject& terrain = *scene.getTerrainObject();
    terrain.load(description->terrainName);
    track.setScale(terrain.getHorizontalScale(), terrain.getPageSize());
    track.load(kMaps + fileName);
    track.buildTiles();
    track.buildTrackSpline();
}

// World positions of every vertex of an entity's mesh.
std::vector<Ogre::Vector3> worldVertices(Ogre::Entity& entity)
{
    std::vector<Ogre::Vector3> vertices;
    const Ogre::Affine3& transform = entity.getParentSceneNode()->_getFullTransform();
    for (const Ogre::SubMesh* sub : entity.getMesh()->getSubMeshes())
    {
        const Ogre::VertexData* data = sub->useSharedVertices ? entity.getMesh()->sharedVertexData : sub->vertexData;
        const Ogre::VertexElement* position = data->vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
        Ogre::HardwareVertexBufferSharedPtr buffer = data->vertexBufferBinding->getBuffer(position->getSource());
        auto* base = static_cast<unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
        for (size_t i = 0; i < data->vertexCount; ++i)
        {
            float* p = nullptr;
            position->baseVertexPointerToElement(base + (data->vertexStart + i) * buffer->getVertexSize(), &p);
            vertices.push_back(transform * Ogre::Vector3(p[0], p[1], p[2]));
        }
        buffer->unlock();
    }
    return vertices;
}

class BuiltInTrackTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { OfflineEngine::loadImageCodecs(); }
};
}

TEST_F(BuiltInTrackTest, EveryTrackBuildsOnItsTerrain)
{
    const auto tracks = BuiltInTracks::shipped();
    ASSERT_GE(tracks.size(), 3u);
    for (const std::string& fileName : tracks)
    {
        SCOPED_TRACE(fileName);
        RaceTestScene scene;
        MapObject track(&scene, scene.getPhysicScene());
        ASSERT_NO_THROW(buildTrack(scene, track, fileName));
        const TerrainObject& terrain = *scene.getTerrainObject();
        const float scale = terrain.getHorizontalScale();

        const MapEntries entries = XMLParser::getInstance()->loadMap(kMaps + fileName);
        int gates = 0;
        std::set<std::pair<int, int>> cells;
        for (const MapEntry& entry : entries)
        {
            gates += entry.checkpoint >= 0;
            cells.insert({entry.x, entry.y});
        }
        EXPECT_EQ(static_cast<int>(cells.size()), track.getTileCount());
        EXPECT_EQ(gates, track.getCheckPointTracker()->getGateCount());

        // Path and spline from the start to the finish, about a tile per placed tile.
        ASSERT_NE(nullptr, track.getTrackSpline());
        EXPECT_GT(track.getTrackSpline()->getLength(), 0.5f * track.getTileSize() * entries.size());

        // The start lies on covered ground, on a tile shown at its centre.
        const Ogre::Vector3 start = track.getStartPosition();
        EXPECT_FLOAT_EQ(255.0f, track.getCoverage(start.x, start.z));
        EXPECT_EQ(0.0f, track.getCoverage(track.getBoundaryLow(), track.getBoundaryLow()));

        size_t shapes = 0;
        for (const MapEntry& entry : entries)
        {
            TrackTile* tile = track.getTile(entry.x, entry.y);
            ASSERT_NE(nullptr, tile);
            ASSERT_NE(nullptr, tile->getEntity());
            const Ogre::Vector2 centre = track.getTileCentre(entry.x, entry.y);
            EXPECT_EQ(Ogre::Vector3(centre.x, terrain.getVerticalScale(), centre.y), tile->getNode()->getPosition());
            shapes += tile->getShapeNames().size();
        }
        EXPECT_GE(shapes, cells.size());

        // Every vertex of the start tile lies on the terrain or above it, and on its cell.
        const TrackTile& startTile = *track.getTile(entries.front().x, entries.front().y);
        const Ogre::Vector2 corner = track.getTileCentre(entries.front().x, entries.front().y) - track.getTileSize() / 2;
        for (const Ogre::Vector3& v : worldVertices(*startTile.getEntity()))
        {
            ASSERT_GE(v.y, terrain.getHeight(v.x, v.z) - 1e-3f) << v;
            ASSERT_LE(v.y, terrain.getHeight(v.x, v.z) + scale) << v;
            ASSERT_GE(v.x, corner.x - 1e-2f);
            ASSERT_LE(v.x, corner.x + track.getTileSize() + 1e-2f);
        }

        // With paging off every registered shape is in the physics scene: a ray from above
        // the start meets the road just above the terrain.
        scene.getPhysicBase()->setPaging(false);
        nxOgre::NxRay ray;
        ray.orig = btVector3(start.x + 0.3f, terrain.getHeight(start.x, start.z) + 50, start.z + 0.3f);
        nxOgre::NxRaycastHit hit;
        ASSERT_TRUE(scene.getPhysicScene()->raycastClosestShape(ray, nxOgre::NX_ALL_SHAPES, hit));
        const float ground = terrain.getHeight(start.x + 0.3f, start.z + 0.3f);
        EXPECT_GT(hit.worldImpact.y(), ground - 1e-2f);
        EXPECT_LT(hit.worldImpact.y(), ground + scale);
    }
}

TEST_F(BuiltInTrackTest, StartFinishTileStartsThePathWithItsFirstLineAndEndsWithItsSecond)
{
    RaceTestScene scene;
    MapObject track(&scene, scene.getPhysicScene());
    buildTrack(scene, track, "TestLoop.map");
    const std::vector<Ogre::Vector4> points = track.getTrackGraph()->getPoints();
    ASSERT_GE(points.size(), 4u);
    const Ogre::Vector2 centre = track.getTileCentre(10, 10);
    // Out of the tile's middle towards -z first; back into the middle from +z last.
    EXPECT_NEAR(centre.y, points.front().z, track.getTileSize() * 0.05f);
    EXPECT_LT(points[1].z, points.front().z);
    EXPECT_NEAR(centre.y, points.back().z, track.getTileSize() * 0.05f);
    EXPECT_GT(points[points.size() - 2].z, points.back().z);
    // The tile is both: the tracker's finish is the start.
    EXPECT_EQ(centre, track.getCheckPointTracker()->getFinishPosition());
    EXPECT_EQ(centre, track.getCheckPointTracker()->getStartPosition());
}

TEST_F(BuiltInTrackTest, BoundaryPlanesHoldABodyInsideTheTrack)
{
    RaceTestScene scene;
    MapObject track(&scene, scene.getPhysicScene());
    track.setScale(12.0f, 257.0f);
    track.createBoundaries();
    ASSERT_EQ(4u, track.getBoundaries().size());
    const float low = track.getBoundaryLow(), high = track.getBoundaryHigh(), middle = (low + high) / 2;
    constexpr float kRadius = 1.0f;
    constexpr float kPenetration = 0.5f;  // a fast body sinks into a plane for a step
    const struct
    {
        btVector3 from;
        btVector3 velocity;
    } cases[] = {{{low + 5, kRadius, middle}, {-60, 0, 0}},
                 {{middle, kRadius, low + 5}, {0, 0, -60}},
                 {{high - 5, kRadius, middle}, {60, 0, 0}},
                 {{middle, kRadius, high - 5}, {0, 0, 60}}};
    nxOgre::scene& physics = *scene.getPhysicScene();
    for (const auto& c : cases)
    {
        nxOgre::NxSphereShapeDesc sphere;
        sphere.radius = kRadius;
        nxOgre::NxActorDesc desc;
        desc.shapes.push_back(&sphere);
        desc.dynamic = true;
        desc.mass = 100;
        desc.globalPose.setOrigin(c.from);
        nxOgre::NxActor* ball = physics.createActor(desc);
        ASSERT_NE(nullptr, ball);
        ball->setLinearVelocity(c.velocity);
        for (int step = 0; step < 200; ++step)
        {
            physics.simulate(0.01f);
            const btVector3 at = ball->getGlobalPosition();
            ASSERT_GE(at.x(), low + kRadius - kPenetration) << step;
            ASSERT_GE(at.z(), low + kRadius - kPenetration) << step;
            ASSERT_LE(at.x(), high - kRadius + kPenetration) << step;
            ASSERT_LE(at.z(), high - kRadius + kPenetration) << step;
        }
        physics.releaseActor(ball);
    }
}

TEST_F(BuiltInTrackTest, LightmapsAreBakedOnceThenTakenFromTheCache)
{
    TempFolder userFolder;
    LightMapTally runs[2];
    double seconds[2] = {0, 0};
    for (int run = 0; run < 2; ++run)
    {
        RaceTestScene scene(userFolder.path());
        MapObject track(&scene, scene.getPhysicScene());
        const auto begin = std::chrono::steady_clock::now();
        buildTrack(scene, track, "TestLoop.map");
        scene.getPhysicBase()->setPaging(false);  // the bake's rays see every shape
        runs[run] = track.bakeLightMaps();
        seconds[run] = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

        // Every shown sub-entity of a lightmapped tile has its map.
        int subEntities = 0;
        for (int x = 0; x < MapObject::kGridSize; ++x)
            for (int y = 0; y < MapObject::kGridSize; ++y)
                if (const TrackTile* tile = track.getTile(x, y); tile && tile->isLightMapped())
                {
                    subEntities += static_cast<int>(tile->getEntity()->getNumSubEntities());
                    EXPECT_EQ(tile->getEntity()->getNumSubEntities(), tile->getLightMaps().size());
                }
        EXPECT_EQ(subEntities, runs[run].baked + runs[run].fromCache);
    }
    // One bake per tile type and sub-mesh, stored under the type's name; none the second time.
    std::set<std::string> files;
    for (const std::string& name : FolderManager::getFileList(userFolder.path() + "tmp/lightmaps/"))
        if (name != "." && name != "..")
            files.insert(name);
    EXPECT_GT(runs[0].baked, 0);
    EXPECT_EQ(static_cast<size_t>(runs[0].baked), files.size());
    EXPECT_EQ(1u, files.count("StartFinish_0.png"));
    EXPECT_EQ(0, runs[1].baked);
    EXPECT_EQ(runs[0].baked + runs[0].fromCache, runs[1].fromCache);
    std::cout << "TestLoop load with tile lightmaps: cold " << seconds[0] << " s, warm " << seconds[1] << " s\n";
}
