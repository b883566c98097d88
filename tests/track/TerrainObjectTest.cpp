// The race terrain: loading by name through the terrain list, the page source's render
// tiles and listener call, height queries, the lightmap mesh and the custom material.
#include "track/DataFileError.h"
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include "support/TerrainFiles.h"
#include "support/TerrainScene.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cmath>

namespace
{
// Counts the pages it is told about and keeps the last heights.
struct PageCounter : TerrainPageSourceListener
{
    int pages = 0;
    std::vector<float> heights;
    void pageConstructed(TerrainPageSource* source, size_t, size_t, const float* data) override
    {
        ++pages;
        const size_t n = source->getOptions().pageSize;
        heights.assign(data, data + n * n);
    }
};

struct TerrainFixture : ::testing::Test
{
    TerrainFiles files;
    TerrainScene scene;
    Ogre::SceneManager* sceneManager = scene.sceneManager;
    TerrainPageSource* source = scene.source.get();
    TerrainObject* terrain = scene.terrain.get();

    // A two-by-two square: H(0,0)=0, H(0,1)=1, H(1,0)=0, H(1,1)=1 (row, column); horizontal
    // scale 2, vertical 10.
    void loadRamp(const std::string& extraLines = "")
    {
        files.addTerrain("Ramp", 3, 4.0f, 10.0f, [](unsigned, unsigned column) { return column == 1 ? 1.0f : 0.0f; },
                         extraLines);
        terrain->load("Ramp", files.listPath());
    }
    std::vector<uint32_t> meshIndices()
    {
        const Ogre::IndexData* data = terrain->getEntity()->getMesh()->getSubMesh(0)->indexData;
        std::vector<uint32_t> indices(data->indexCount);
        const Ogre::HardwareIndexBufferSharedPtr& buffer = data->indexBuffer;
        const void* raw = buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY);
        for (size_t i = 0; i < indices.size(); ++i)
            indices[i] = buffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT
                             ? static_cast<const uint32_t*>(raw)[i]
                             : static_cast<const uint16_t*>(raw)[i];
        buffer->unlock();
        return indices;
    }
};
}

TEST_F(TerrainFixture, NothingAnswersBeforeAPageIsBuilt)
{
    EXPECT_EQ(terrain->getHeight(1, 1), 0.0f);
    EXPECT_EQ(terrain->getMaxHeight(1, 1, 4), 0.0f);
    EXPECT_EQ(terrain->getHeightData(), nullptr);
    EXPECT_EQ(terrain->getPageSize(), 0.0f);
    EXPECT_EQ(terrain->getEntity(), nullptr);
    terrain->setCustomMaterial("BaseWhite");  // nothing to rebuild
    EXPECT_EQ(source->getRenderTileCount(), 0u);
}

TEST_F(TerrainFixture, LoadsByNameAndCopiesThePage)
{
    PageCounter counter;
    source->addListener(&counter);
    loadRamp();
    EXPECT_EQ(counter.pages, 1);
    EXPECT_EQ(terrain->getName(), "Ramp");
    EXPECT_EQ(terrain->getTerrainFile(), "Ramp.cfg");
    EXPECT_EQ(terrain->getPageSize(), 3.0f);
    EXPECT_FLOAT_EQ(terrain->getHorizontalScale(), 2.0f);
    EXPECT_FLOAT_EQ(terrain->getVerticalScale(), 10.0f);
    ASSERT_NE(terrain->getHeightData(), nullptr);
    EXPECT_EQ(std::vector<float>(terrain->getHeightData(), terrain->getHeightData() + 9), counter.heights);
    EXPECT_EQ(counter.heights[1], 1.0f);
    EXPECT_EQ(counter.heights[3], 0.0f);
    source->removeListener(&counter);
}

TEST_F(TerrainFixture, RenderTilesCoverThePageWithTheTerrainMaterial)
{
    files.addTerrain("Tiled", 65, 640.0f, 50.0f, [](unsigned r, unsigned c) { return (r + c) / 128.0f; },
                     "TileSize=17\nWorldTexture=Tiled_colour.png\nDetailTexture=Tiled_detail.png\nDetailTile=8\n");
    terrain->load("Tiled", files.listPath());
    ASSERT_EQ(source->getRenderTileCount(), 16u);  // 4 x 4 tiles of 16 quads a side
    ASSERT_TRUE(sceneManager->hasSceneNode("Terrain_Page"));
    // Each tile at three levels of detail (every sample, every second, every fourth), of which
    // the first shows until the camera is known.
    EXPECT_EQ(sceneManager->getSceneNode("Terrain_Page")->numAttachedObjects(), 48u);
    Ogre::AxisAlignedBox bounds;
    size_t vertices = 0;
    for (Ogre::MovableObject* object : sceneManager->getSceneNode("Terrain_Page")->getAttachedObjects())
    {
        if (!object->getVisible())
            continue;
        auto* tile = static_cast<Ogre::ManualObject*>(object);
        bounds.merge(tile->getBoundingBox());
        ASSERT_EQ(tile->getSections().size(), 1u);
        EXPECT_EQ(tile->getSections()[0]->getMaterialName(), source->getTerrainMaterial()->getName());
        vertices += tile->getSections()[0]->getRenderOperation()->vertexData->vertexCount;
    }
    // Each tile's samples, then its outline once more for the skirt, hanging no lower than
    // the page's heights are rounded (the ramp is a plane, kept to 16 bits).
    EXPECT_EQ(vertices, 16u * (17 * 17 + 4 * 16));
    EXPECT_NEAR(bounds.getMinimum().y, 0.0f, 0.01f);
    EXPECT_EQ(bounds.getMaximum(), Ogre::Vector3(640, 50, 640));
    EXPECT_EQ(bounds.getMinimum().x, 0.0f);
    EXPECT_EQ(bounds.getMinimum().z, 0.0f);
    // Without a material of its own the page shows its colour texture with the grain over it.
    const Ogre::Pass* pass = source->getTerrainMaterial()->getTechnique(0)->getPass(0);
    ASSERT_EQ(pass->getNumTextureUnitStates(), 2u);
    EXPECT_EQ(pass->getTextureUnitState(0)->getTextureName(), "Tiled_colour.png");
    EXPECT_EQ(pass->getTextureUnitState(1)->getTextureName(), "Tiled_detail.png");
    EXPECT_FLOAT_EQ(pass->getTextureUnitState(1)->getTextureUScale(), 1.0f / 8);

    // Loading again replaces the page rather than adding to it.
    terrain->load("Tiled", files.listPath());
    EXPECT_EQ(source->getRenderTileCount(), 16u);
    EXPECT_EQ(sceneManager->getSceneNode("Terrain_Page")->numAttachedObjects(), 48u);
}

TEST_F(TerrainFixture, HeightsBlendBilinearlyAndAreZeroOffThePage)
{
    loadRamp();
    struct Case
    {
        const char* what;
        float x, z, expected;
    };
    const Case cases[] = {
        {"centre of the first quad (row 0.5, column 0.5)", 1, 1, 5},
        {"on a sample", 2, 0, 10},
        {"on a sample of the next row", 2, 2, 10},
        {"a quarter along x", 0.5f, 3.0f, 2.5f},
        {"inside the last quad", 3.5f, 3.5f, 2.5f},
        {"first sample", 0, 0, 0},
        {"last column, x = (n - 1) * scale", 4, 1, 0},
        {"last row", 1, 4, 0},
        {"negative z", 2, -0.01f, 0},
        {"negative x", -1, 1, 0},
        {"far off", 1e6f, 1e6f, 0},
        {"not a number", std::nanf(""), 1, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_FLOAT_EQ(terrain->getHeight(c.x, c.z), c.expected) << c.what;
        EXPECT_FLOAT_EQ(terrain->getHeight(Ogre::Vector2(c.x, c.z)), c.expected) << c.what;
    }
}

TEST_F(TerrainFixture, MaxHeightTakesTheHighestCornerAndNeverLessThanZero)
{
    loadRamp();
    struct Case
    {
        const char* what;
        float x, z, size, expected;
    };
    const Case cases[] = {
        {"corners at columns 0.5 and 1.5", 2, 2, 2, 5},
        {"a corner on the ridge", 1, 1, 2, 10},
        {"square wholly off the page", -10, -10, 4, 0},
        {"square half off the page", 4, 2, 2, 5},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(terrain->getMaxHeight(c.x, c.z, c.size), c.expected) << c.what;

    // Heights below zero: the corners are all negative, the answer is 0.
    const std::vector<float> below(9, -0.5f);
    terrain->pageConstructed(source, 0, 0, below.data());
    EXPECT_FLOAT_EQ(terrain->getHeight(1, 1), -5.0f);
    EXPECT_FLOAT_EQ(terrain->getMaxHeight(2, 2, 2), 0.0f);
}

TEST_F(TerrainFixture, MeshCoversTheWholeTerrain)
{
    loadRamp();
    Ogre::Entity* entity = terrain->getEntity();
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->getName(), "Terrain_Entity");
    EXPECT_EQ(entity->getMesh()->getName(), "Terrain_Mesh");
    EXPECT_EQ(entity->getSubEntity(0)->getMaterialName(), source->getTerrainMaterial()->getName());
    EXPECT_EQ(terrain->getEntity(), entity) << "a second call builds nothing new";

    // Two quads a side, each split along its (a, b)-(a + 1, b + 1) diagonal, facing up.
    const std::vector<uint32_t> expected = {0, 3, 4, 1, 0, 4, 3, 6, 7, 4, 3, 7,
                                            1, 4, 5, 2, 1, 5, 4, 7, 8, 5, 4, 8};
    EXPECT_EQ(meshIndices(), expected);
    const Ogre::SubMesh* sub = entity->getMesh()->getSubMesh(0);
    const Ogre::VertexData* vertices = sub->useSharedVertices ? entity->getMesh()->sharedVertexData : sub->vertexData;
    EXPECT_EQ(vertices->vertexCount, 9u);
    // The engine pads mesh bounds by a hundredth of their size.
    const Ogre::AxisAlignedBox& bounds = entity->getMesh()->getBounds();
    EXPECT_TRUE(bounds.getMinimum().positionEquals(Ogre::Vector3(0, 0, 0), 0.11f)) << bounds;
    EXPECT_TRUE(bounds.getMaximum().positionEquals(Ogre::Vector3(4, 10, 4), 0.11f)) << bounds;

    terrain->destroyMesh();
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists("Terrain_Mesh", Ogre::RGN_DEFAULT));
    EXPECT_FALSE(sceneManager->hasEntity("Terrain_Entity"));
    EXPECT_FLOAT_EQ(terrain->getHeight(1, 1), 5.0f) << "heights outlive the mesh";
}

TEST_F(TerrainFixture, FullSizePageMeshUsesWideIndices)
{
    files.addTerrain("Big", 257, 3072.0f, 100.0f, [](unsigned r, unsigned c) { return (r * 7 + c * 3) % 50 / 50.0f; });
    terrain->load("Big", files.listPath());
    const std::vector<uint32_t> indices = meshIndices();
    ASSERT_EQ(indices.size(), 6u * 256 * 256);  // n - 1 quads a side, 2 triangles each
    EXPECT_EQ(*std::max_element(indices.begin(), indices.end()), 257u * 257 - 1);
    const size_t lastQuad = indices.size() - 6;
    const std::vector<uint32_t> last(indices.begin() + lastQuad, indices.end());
    EXPECT_EQ(last, (std::vector<uint32_t>{257 * 255 + 255, 257 * 256 + 255, 257 * 256 + 256, 257 * 255 + 256,
                                           257 * 255 + 255, 257 * 256 + 256}));
    EXPECT_EQ(terrain->getEntity()->getMesh()->getSubMesh(0)->indexData->indexBuffer->getType(),
              Ogre::HardwareIndexBuffer::IT_32BIT);
}

TEST_F(TerrainFixture, NormalsAreUnitAndFaceAwayFromTheSlope)
{
    loadRamp();
    const Ogre::MeshPtr& mesh = terrain->getEntity()->getMesh();
    const Ogre::SubMesh* sub = mesh->getSubMesh(0);
    const Ogre::VertexData* data = sub->useSharedVertices ? mesh->sharedVertexData : sub->vertexData;
    const Ogre::VertexElement* normalElement = data->vertexDeclaration->findElementBySemantic(Ogre::VES_NORMAL);
    ASSERT_NE(normalElement, nullptr);
    const Ogre::HardwareVertexBufferSharedPtr& buffer = data->vertexBufferBinding->getBuffer(normalElement->getSource());
    auto* base = static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    for (size_t v = 0; v < data->vertexCount; ++v)
    {
        float* normal = nullptr;
        normalElement->baseVertexPointerToElement(const_cast<unsigned char*>(base + v * buffer->getVertexSize()), &normal);
        const Ogre::Vector3 n(normal[0], normal[1], normal[2]);
        EXPECT_NEAR(n.length(), 1.0f, 1e-5f) << "vertex " << v;
        EXPECT_GT(n.y, 0.0f) << "vertex " << v;
    }
    // Vertex 0 sees only the faces rising towards +x: its normal leans to -x.
    float* first = nullptr;
    normalElement->baseVertexPointerToElement(const_cast<unsigned char*>(base), &first);
    EXPECT_LT(first[0], -0.5f);
    buffer->unlock();
}

TEST_F(TerrainFixture, CustomMaterialRebuildsThePageWithIt)
{
    Ogre::MaterialManager::getSingleton().create("Test/LightMapped", Ogre::RGN_DEFAULT);
    loadRamp("CustomMaterialName=BaseWhite\n");
    EXPECT_EQ(source->getTerrainMaterial()->getName(), "BaseWhite");
    Ogre::Entity* entity = terrain->getEntity();
    PageCounter counter;
    source->addListener(&counter);

    terrain->setCustomMaterial("Test/LightMapped");
    EXPECT_EQ(counter.pages, 1);
    EXPECT_EQ(source->getTerrainMaterial()->getName(), "Test/LightMapped");
    for (Ogre::MovableObject* object : sceneManager->getSceneNode("Terrain_Page")->getAttachedObjects())
        EXPECT_EQ(static_cast<Ogre::ManualObject*>(object)->getSections()[0]->getMaterialName(), "Test/LightMapped");
    EXPECT_FLOAT_EQ(terrain->getHeight(1, 1), 5.0f);
    EXPECT_EQ(terrain->getEntity(), entity) << "same heights, same mesh";
    source->removeListener(&counter);
    Ogre::MaterialManager::getSingleton().remove("Test/LightMapped", Ogre::RGN_DEFAULT);
}

TEST_F(TerrainFixture, FileWithoutTheKeyGetsNoCustomMaterial)
{
    loadRamp();
    const std::string before = source->getTerrainMaterial()->getName();
    terrain->setCustomMaterial("BaseWhite");
    EXPECT_EQ(source->getTerrainMaterial()->getName(), before);
}

TEST_F(TerrainFixture, ErrorsNameTheFileAndLeaveTheLoadedTerrain)
{
    loadRamp();
    files.getFolder().write("NoSize.cfg", "Heightmap.image=Ramp.png\n");
    files.getFolder().write("Wrong.cfg", "Heightmap.image=Ramp.png\nPageSize=5\n");
    files.getFolder().write("Lost.cfg", "Heightmap.image=Lost.png\nPageSize=3\n");
    files.getFolder().write("Unlit.cfg", "Heightmap.image=Ramp.png\nPageSize=3\nCustomMaterialName=NoSuchMaterial\n");
    files.getFolder().write("TerrainList.xml",
                            "<Terrains>\n"
                            "  <Terrain name=\"Ramp\" file=\"Ramp.cfg\" levelImage=\"r.png\" />\n"
                            "  <Terrain name=\"NoSize\" file=\"NoSize.cfg\" levelImage=\"r.png\" />\n"
                            "  <Terrain name=\"Wrong\" file=\"Wrong.cfg\" levelImage=\"r.png\" />\n"
                            "  <Terrain name=\"Lost\" file=\"Lost.cfg\" levelImage=\"r.png\" />\n"
                            "  <Terrain name=\"Unlit\" file=\"Unlit.cfg\" levelImage=\"r.png\" />\n"
                            "  <Terrain name=\"Gone\" file=\"Gone.cfg\" levelImage=\"r.png\" />\n"
                            "</Terrains>\n");
    files.rescan();
    struct Case
    {
        const char* name;
        std::string file;
        std::string message;
        const char* mentioned;
    };
    const Case cases[] = {
        {"Moon", files.listPath(), TerrainObject::kNotFound, "no terrain named 'Moon', which the track tracks/Friend.map asks for"},
        {"NoSize", "NoSize.cfg", "Unable to read terrain!", "PageSize"},
        {"Wrong", "Ramp.png", "Unable to read terrain!", "5 x 5"},
        {"Lost", "Lost.png", "Unable to read terrain!", "not found"},
        {"Unlit", "Unlit.cfg", "Unable to read terrain!", "NoSuchMaterial"},
        {"Gone", "Gone.cfg", "Unable to read terrain!", "not found"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        try
        {
            terrain->load(c.name, files.listPath(), "tracks/Friend.map");
            ADD_FAILURE() << "loaded";
        }
        catch (const DataFileError& error)
        {
            EXPECT_EQ(error.getFile(), c.file);
            EXPECT_EQ(error.getMessage(), c.message);
            EXPECT_NE(error.getProblem().find(c.mentioned), std::string::npos) << error.what();
        }
        EXPECT_EQ(terrain->getName(), "Ramp");
        EXPECT_FLOAT_EQ(terrain->getHeight(1, 1), 5.0f);
        EXPECT_EQ(source->getRenderTileCount(), 1u);
    }
    EXPECT_THROW(terrain->load("Ramp", files.getFolder().path() + "NoList.xml"), DataFileError);
}
