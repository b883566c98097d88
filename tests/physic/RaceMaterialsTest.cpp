// The race's surfaces: their coefficients and the road's other names.
#include "physic/RaceMaterials.h"

#include "platform/physics/scene.h"
#include "platform/physics/world.h"

#include <gtest/gtest.h>

TEST(RaceMaterials, RoadAndTerrainWithTheRoadsOtherNames)
{
    nxOgre::world physics(0, 1, "");
    nxOgre::scene& scene = *physics.createScene("DefaultScene");
    createRaceMaterials(scene);
    createRaceMaterials(scene);  // a second call changes nothing

    struct Case
    {
        const char* name;
        float friction, bounce;
    };
    for (const Case& c : {Case{"roadMaterial", 0.6f, 0.1f}, Case{"terrainMaterial", 0.2f, 0.0f}})
    {
        const nxOgre::material* surface = scene.findMaterial(c.name);
        ASSERT_NE(surface, nullptr) << c.name;
        EXPECT_NE(surface->getMaterialIndex(), 0) << c.name;
        EXPECT_FLOAT_EQ(surface->getStaticFriction(), c.friction) << c.name;
        EXPECT_FLOAT_EQ(surface->getDynamicFriction(), c.friction) << c.name;
        EXPECT_FLOAT_EQ(surface->getBounce(), c.bounce) << c.name;
    }
    const nxOgre::material* road = scene.findMaterial("roadMaterial");
    for (const char* alias : {"road1_blinn1", "StartPointRoad", "StartFinishRoad", "StartPoint", "StartFinish"})
    {
        EXPECT_EQ(scene.findMaterial(alias), road) << alias;
        EXPECT_EQ(scene.findMaterialIndex(alias), road->getMaterialIndex()) << alias;
    }
    EXPECT_NE(scene.findMaterial("terrainMaterial"), road);
}
