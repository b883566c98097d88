// The shipped terrains: each one of the terrain list loads with its material, fits the
// paged physics world, and is gentle enough under every built-in track to drive on.
#include "XMLParser.h"
#include "physic/PhysicBase.h"
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include "support/BuiltInTracks.h"
#include "support/RaceTestScene.h"
#include "support/TerrainScene.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>


namespace
{
const std::string kMedia = "../media/";
constexpr float kSteepestTrackSlope = 0.3f;  // rise per unit run under a track tile

struct ShippedTerrains : ::testing::Test
{
    // The media stays registered for the other suites of the binary.
    static void SetUpTestSuite() { RaceTestScene::prepareMedia(); }

    TerrainScene scene;
    TerrainPageSource* source = scene.source.get();
    TerrainObject* terrain = scene.terrain.get();
};
}

TEST_F(ShippedTerrains, EachLoadsWithItsMaterialAndFitsThePhysicsWorld)
{
    const TerrainDescs terrains = XMLParser::getInstance()->loadTerrainDescMap(TerrainObject::kTerrainListPath);
    ASSERT_GE(terrains.size(), 3u);
    for (const auto& [name, desc] : terrains)
    {
        SCOPED_TRACE(name);
        ASSERT_NO_THROW(terrain->load(name));
        EXPECT_EQ(terrain->getPageSize(), 257.0f);
        EXPECT_LT((terrain->getPageSize() - 1) * terrain->getHorizontalScale(), PhysicBase::kWorldSize);
        const Ogre::MaterialPtr& material = source->getTerrainMaterial();
        EXPECT_EQ(material->getName(), "Terrain/" + name);
        const Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        ASSERT_EQ(pass->getNumTextureUnitStates(), 2u);
        for (const Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
            EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceExistsInAnyGroup(unit->getTextureName()))
                << unit->getTextureName();
    }
}

TEST_F(ShippedTerrains, GroundUnderEveryBuiltInTrackIsDrivable)
{
    const auto tiles = XMLParser::getInstance()->loadTrackObjectDescs(kMedia + "tiles/TrackObjectList.xml");
    const auto tracks = BuiltInTracks::shipped();
    ASSERT_FALSE(tracks.empty());
    for (const std::string& track : tracks)
    {
        SCOPED_TRACE(track);
        const auto description = XMLParser::getInstance()->loadMapDescription(kMedia + "maps/" + track);
        terrain->load(description->terrainName);
        const float s = terrain->getHorizontalScale(), n = terrain->getPageSize();
        const float tileSize = 3 * s * n / (n - 1);
        float steepest = 0;
        for (const MapEntry& entry : XMLParser::getInstance()->loadMap(kMedia + "maps/" + track, &tiles))
        {
            const auto& desc = tiles.at(entry.name);
            const bool turned = entry.rotation % 2 == 1;
            const int width = turned ? desc->height : desc->width, depth = turned ? desc->width : desc->height;
            const float x0 = (3 * entry.x + 8) * s, z0 = (3 * entry.y + 8) * s;
            const float step = s / 2;
            for (float x = x0; x + step <= x0 + tileSize * width; x += step)
                for (float z = z0; z + step <= z0 + tileSize * depth; z += step)
                {
                    const float h = terrain->getHeight(x, z);
                    steepest = std::max({steepest, std::fabs(terrain->getHeight(x + step, z) - h) / step,
                                         std::fabs(terrain->getHeight(x, z + step) - h) / step});
                }
        }
        EXPECT_LT(steepest, kSteepestTrackSlope) << "on " << description->terrainName;
        std::cout << track << " on " << description->terrainName << ": steepest rise " << steepest << "\n";
    }
}
