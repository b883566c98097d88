// The race scene's services to the loaded track, headless: its physics world, terrain,
// track and (with no per-user folder yet) no lightmap cache; a track built in it
// is torn down with it.
#include "GameConfiguration.h"
#include "GameScene.h"
#include "XMLParser.h"
#include "physic/PhysicBase.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"

#include "support/OfflineEngine.h"
#include "support/RaceTestScene.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
class RaceSceneServices : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RaceTestScene::prepareMedia();
        OfflineEngine::loadSceneManagers();
    }
};
}

TEST_F(RaceSceneServices, SceneHoldsThePhysicsTerrainAndTrack)
{
    GameConfiguration settings;
    GameScene scene(settings);
    ASSERT_NE(nullptr, scene.getPhysicBase());
    ASSERT_NE(nullptr, scene.getPhysicScene());
    EXPECT_EQ(scene.getPhysicBase()->getScene(), scene.getPhysicScene());
    EXPECT_NE(nullptr, scene.getTerrainObject());
    EXPECT_NE(nullptr, scene.getMapObject());
    EXPECT_EQ(nullptr, scene.getLightmapCache());  // settings without a per-user folder
}

TEST_F(RaceSceneServices, TrackBuiltInTheSceneGoesWithIt)
{
    const auto countMeshes = [](const std::string& part) {
        size_t count = 0;
        for (const auto& resource : Ogre::MeshManager::getSingleton().getResourceIterator())
            count += resource.second->getName().find(part) != std::string::npos;
        return count;
    };
    size_t tileMeshes = 0;
    {
        GameConfiguration settings;
        GameScene scene(settings);
        scene.getTerrainObject()->load("Grass");
        MapObject& track = *scene.getMapObject();
        track.setScale(scene.getTerrainObject()->getHorizontalScale(), scene.getTerrainObject()->getPageSize());
        track.load("../media/maps/TestLoop.map");
        tileMeshes = countMeshes("_RenderMesh");
        // The collision shapes are made from the tile types' own physics meshes: no tile
        // holds an engine copy of them, before or after it is built.
        EXPECT_EQ(0u, countMeshes("_Physic"));
        track.buildTiles();
        EXPECT_EQ(0u, countMeshes("_Physic"));
        track.buildTrackSpline();
        track.createBoundaries();
        scene.getPhysicBase()->setPaging(false);
        EXPECT_EQ(16, track.getTileCount());
        EXPECT_GT(scene.getPhysicScene()->getActorCount(), 16u + 4u);
    }
    // The tiles' own mesh copies are gone with the scene.
    EXPECT_EQ(16u, tileMeshes);
    EXPECT_EQ(0u, countMeshes("_RenderMesh"));
}
