// The terrain's levels of detail: how far a coarser level strays from the heights, which
// level a tile shows from where, and the skirt that hides the cracks between levels.
#include "track/TerrainGrid.h"
#include "track/TerrainPageSource.h"

#include "support/TerrainFiles.h"
#include "support/TerrainScene.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
// A page of 5 x 5 samples, all zero but one; horizontal scale 1, vertical 10.
std::vector<float> pageWithBumpAt(unsigned row, unsigned column)
{
    std::vector<float> heights(25, 0.0f);
    heights[row * 5 + column] = 1.0f;
    return heights;
}

std::vector<Ogre::Vector3> positionsOf(const Ogre::ManualObject& object)
{
    const Ogre::VertexData* data = object.getSections()[0]->getRenderOperation()->vertexData;
    const Ogre::VertexElement* element = data->vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
    const Ogre::HardwareVertexBufferSharedPtr& buffer = data->vertexBufferBinding->getBuffer(element->getSource());
    std::vector<Ogre::Vector3> positions(data->vertexCount);
    const auto* raw = static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    for (size_t i = 0; i < positions.size(); ++i)
    {
        float* at = nullptr;
        element->baseVertexPointerToElement(const_cast<unsigned char*>(raw) + i * buffer->getVertexSize(), &at);
        positions[i] = Ogre::Vector3(at[0], at[1], at[2]);
    }
    buffer->unlock();
    return positions;
}

std::vector<uint32_t> indicesOf(const Ogre::ManualObject& object)
{
    const Ogre::IndexData* data = object.getSections()[0]->getRenderOperation()->indexData;
    std::vector<uint32_t> indices(data->indexCount);
    const void* raw = data->indexBuffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = data->indexBuffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT
                         ? static_cast<const uint32_t*>(raw)[i]
                         : static_cast<const uint16_t*>(raw)[i];
    data->indexBuffer->unlock();
    return indices;
}
}

TEST(TerrainLevels, ErrorIsHowFarTheCoarserSurfaceMissesASample)
{
    struct Case
    {
        const char* what;
        unsigned bumpRow, bumpColumn, step;
        float expected;
    };
    const Case cases[] = {
        {"a bump between the kept samples is lost", 1, 1, 2, 10.0f},
        {"a kept bump spreads half its height to the next sample", 2, 2, 2, 5.0f},
        {"the same bump is lost a level further", 2, 2, 4, 10.0f},
        {"a corner bump fades over the whole coarse quad", 0, 0, 4, 7.5f},
        {"every sample drawn misses nothing", 1, 3, 1, 0.0f},
    };
    for (const Case& c : cases)
    {
        const std::vector<float> heights = pageWithBumpAt(c.bumpRow, c.bumpColumn);
        const TerrainGrid::Page page{heights.data(), 5, 1.0f, 10.0f};
        EXPECT_FLOAT_EQ(TerrainGrid::levelError(page, 0, 0, 5, c.step), c.expected) << c.what;
    }
    // A plane is drawn exactly at any step, the diagonal's way included.
    std::vector<float> plane(25);
    for (unsigned i = 0; i < 25; ++i)
        plane[i] = 0.1f * (i / 5) + 0.05f * (i % 5);
    const TerrainGrid::Page tilted{plane.data(), 5, 1.0f, 10.0f};
    EXPECT_NEAR(TerrainGrid::levelError(tilted, 0, 0, 5, 4), 0.0f, 1e-5f);
}

TEST(TerrainLevels, TheCoarsestLevelWithinAPixelAndAHalfIsShown)
{
    const std::vector<float> errors{0.0f, 0.5f, 2.0f, 8.0f};
    struct Case
    {
        float distance;
        unsigned expected;
    };
    // At 1000 pixels per unit at unit distance, an error e shows as 1000 e / distance pixels.
    for (const Case& c : {Case{1.0f, 0}, Case{300.0f, 0}, Case{334.0f, 1}, Case{1333.0f, 1}, Case{1334.0f, 2},
                          Case{5334.0f, 3}, Case{1e6f, 3}})
        EXPECT_EQ(TerrainPageSource::levelFor(errors, c.distance, 1000.0f), c.expected) << c.distance;
    // A flat tile loses nothing drawn coarsest, even right under the camera.
    EXPECT_EQ(TerrainPageSource::levelFor({0.0f, 0.0f, 0.0f}, 0.0f, 1000.0f), 2u);

    EXPECT_EQ(TerrainPageSource::coarsestLevel(65), 4u);  // down to 4 x 4 quads
    EXPECT_EQ(TerrainPageSource::coarsestLevel(17), 2u);
    EXPECT_EQ(TerrainPageSource::coarsestLevel(5), 0u);
}

TEST(TerrainLevels, TheSkirtHangsBelowTheEdgeAndFacesOut)
{
    TerrainScene scene;
    const std::vector<float> heights = pageWithBumpAt(1, 1);
    const TerrainGrid::Page page{heights.data(), 5, 1.0f, 10.0f};
    const std::vector<Ogre::Vector3> normals = TerrainGrid::vertexNormals(page);
    Ogre::ManualObject* object = scene.sceneManager->createManualObject("Skirted");
    TerrainGrid::addLevelSection(*object, Ogre::MaterialManager::getSingleton().getByName("BaseWhite"), page, normals,
                                 0, 0, 5, 2, 3.0f);
    const std::vector<Ogre::Vector3> positions = positionsOf(*object);
    const std::vector<uint32_t> indices = indicesOf(*object);
    // 3 x 3 samples, then the 8 of the outline again, 3 units lower.
    ASSERT_EQ(positions.size(), 9u + 8u);
    ASSERT_EQ(indices.size(), (8u + 16u) * 3);
    for (size_t i = 9; i < positions.size(); ++i)
        EXPECT_FLOAT_EQ(positions[i].y, -3.0f) << i;
    const Ogre::Vector3 centre(2.0f, 0.0f, 2.0f);
    for (size_t t = 0; t < indices.size(); t += 3)
    {
        const Ogre::Vector3 a = positions[indices[t]], b = positions[indices[t + 1]], c = positions[indices[t + 2]];
        const Ogre::Vector3 front = (b - a).crossProduct(c - a);  // the side the engine draws
        if (t < 8 * 3)
            EXPECT_GT(front.y, 0.0f) << "ground triangle " << t / 3 << " faces up";
        else
        {
            Ogre::Vector3 outward = (a + b + c) / 3.0f - centre;
            outward.y = 0.0f;
            EXPECT_GT(front.dotProduct(outward), 0.0f) << "skirt triangle " << t / 3 << " faces out";
        }
    }
    scene.sceneManager->destroyManualObject(object);
}

TEST(TerrainLevels, FarHillsAreDrawnCoarserThanNearOnes)
{
    TerrainFiles files;
    TerrainScene scene;
    // 2 x 2 tiles of 64 quads; the first tile rough, the others flat.
    files.addTerrain("Rough", 129, 1280.0f, 50.0f, [](unsigned r, unsigned c) {
        return r < 64 && c < 64 ? ((r * 7 + c * 13) % 5) / 4.0f : 0.3f;
    });
    scene.terrain->load("Rough", files.listPath());
    TerrainPageSource& source = *scene.source;
    ASSERT_EQ(source.getRenderTileCount(), 4u);
    EXPECT_EQ(source.getShownLevels(), std::vector<unsigned>(4, 0u)) << "every sample until a camera looks";

    Ogre::Camera* camera = scene.sceneManager->createCamera("Eye");
    Ogre::SceneNode* eye = scene.sceneManager->getRootSceneNode()->createChildSceneNode();
    eye->attachObject(camera);
    const auto shownObjects = [&] {
        std::vector<std::string> names;
        for (Ogre::MovableObject* object : scene.sceneManager->getSceneNode("Terrain_Page")->getAttachedObjects())
            if (object->getVisible())
                names.push_back(object->getName());
        std::sort(names.begin(), names.end());
        return names;
    };

    eye->setPosition(1200.0f, 60.0f, 1200.0f);  // over the flat far corner
    source.updateLevels(*camera, 768.0f);
    EXPECT_EQ(source.getShownLevels(), (std::vector<unsigned>{0, 4, 4, 4})) << "the rough tile stays whole";
    EXPECT_EQ(shownObjects(), (std::vector<std::string>{"Terrain_Tile_0_0", "Terrain_Tile_0_1_4",
                                                        "Terrain_Tile_1_0_4", "Terrain_Tile_1_1_4"}));

    eye->setPosition(1200.0f, 1e6f, 1200.0f);  // so far that nothing shows its roughness
    source.updateLevels(*camera, 768.0f);
    EXPECT_EQ(source.getShownLevels(), std::vector<unsigned>(4, 4u));
    EXPECT_EQ(shownObjects().size(), 4u) << "one level per tile";

    eye->setPosition(10.0f, 60.0f, 10.0f);  // back over the rough tile
    source.updateLevels(*camera, 768.0f);
    EXPECT_EQ(source.getShownLevels()[0], 0u);
    EXPECT_EQ(shownObjects().size(), 4u);
    scene.sceneManager->destroyCamera(camera);
}
