// The grass loader on the offline engine: how many blades a page gets and where, what the
// blade meshes hold, the maps and hooks that place, tint and size them, and that every mesh,
// node and clone a page makes goes again with it.
#include "HeadlessOgre.h"
#include "paging/ColorMap.h"
#include "paging/DensityMap.h"
#include "paging/GeometryPager.h"
#include "paging/GrassLoader.h"
#include "paging/GrassPage.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace
{
const char* const kMaterial = "GrassLoaderTest/Blade";

// Gently sloping ground, so a blade standing on the wrong point shows.
float ground(float x, float z) { return 0.1f * x + 0.05f * z; }

class TestGrassLoader : public GrassLoader
{
public:
    using GrassLoader::GrassLoader;
    float getHeightAt(float x, float z) override
    {
        ++heightCalls;
        return heightAt ? heightAt(x, z) : ground(x, z);
    }
    void adjustGrassSize(float, float, float& height, float& halfWidth) override
    {
        if (flatten)
            height = halfWidth = 0.0f;
    }
    int heightCalls = 0;
    bool flatten = false;
    std::function<float(float, float)> heightAt;
};

struct Vertex
{
    Ogre::Vector3 position;
    Ogre::Vector4 normal = Ogre::Vector4::ZERO;
    uint32_t colour = 0;
    Ogre::Vector2 uv;
};

// The vertices of a mesh's one sub-mesh, decoded by its declaration.
std::vector<Vertex> readVertices(const Ogre::Mesh& mesh)
{
    const Ogre::VertexData& data = *mesh.getSubMesh(0)->vertexData;
    const Ogre::VertexDeclaration& declaration = *data.vertexDeclaration;
    Ogre::HardwareVertexBufferSharedPtr buffer = data.vertexBufferBinding->getBuffer(0);
    std::vector<uint8_t> bytes(buffer->getSizeInBytes());
    buffer->readData(0, bytes.size(), bytes.data());
    std::vector<Vertex> vertices(data.vertexCount);
    for (size_t i = 0; i < vertices.size(); ++i)
    {
        const uint8_t* base = bytes.data() + i * buffer->getVertexSize();
        const auto floats = [base](const Ogre::VertexElement* element, float* out, int n) {
            std::memcpy(out, base + element->getOffset(), sizeof(float) * n);
        };
        floats(declaration.findElementBySemantic(Ogre::VES_POSITION), vertices[i].position.ptr(), 3);
        floats(declaration.findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES), vertices[i].uv.ptr(), 2);
        std::memcpy(&vertices[i].colour,
                    base + declaration.findElementBySemantic(Ogre::VES_DIFFUSE)->getOffset(), 4);
        if (const Ogre::VertexElement* normal = declaration.findElementBySemantic(Ogre::VES_NORMAL))
            floats(normal, vertices[i].normal.ptr(), 4);
    }
    return vertices;
}

std::vector<uint16_t> readIndices(const Ogre::Mesh& mesh)
{
    const Ogre::IndexData& data = *mesh.getSubMesh(0)->indexData;
    std::vector<uint16_t> indices(data.indexCount);
    data.indexBuffer->readData(0, indices.size() * sizeof(uint16_t), indices.data());
    return indices;
}

size_t meshCount()
{
    size_t count = 0;
    for (const auto& entry : Ogre::MeshManager::getSingleton().getResourceIterator())
        count += entry.second ? 1 : 0;
    return count;
}

// The number at the end of an engine name such as "GrassLDR12".
int serial(const std::string& name, const std::string& prefix)
{
    EXPECT_EQ(name.compare(0, prefix.size(), prefix), 0) << name;
    return std::stoi(name.substr(prefix.size()));
}

class GrassLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sceneMgr = HeadlessOgre::createSceneManager();
        Ogre::Camera* camera = sceneMgr->createCamera("Viewer");
        sceneMgr->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(50.0f, 2.0f, 50.0f))->attachObject(camera);
        pager = std::make_unique<GeometryPager>(camera, 50.0f, [this] { return nowMs; });
        pager->setBounds(TBounds(0.0f, 0.0f, 100.0f, 100.0f));  // 2 x 2 pages of 50 x 50
        level = pager->addDetailLevel<GrassPage>(200.0f, 0.0f);  // every page at once
        loader = std::make_unique<TestGrassLoader>(pager.get());
        pager->setPageLoader(loader.get());
        if (!Ogre::MaterialManager::getSingleton().resourceExists(kMaterial))
            Ogre::MaterialManager::getSingleton().create(kMaterial, Ogre::RGN_DEFAULT);
    }

    void TearDown() override
    {
        pager.reset();  // unloads its pages through the loader
        loader.reset();
        HeadlessOgre::root().destroySceneManager(sceneMgr);
    }

    void frame()
    {
        nowMs += 20;
        pager->update();
    }

    GrassPage& page(int x, int z) { return static_cast<GrassPage&>(*level->getGridPage(x, z)); }

    // The mesh of the page's first layer.
    Ogre::Mesh& pageMesh(int x, int z)
    {
        const std::vector<Ogre::SceneNode*>& nodes = page(x, z).getNodes();
        EXPECT_FALSE(nodes.empty());
        return *static_cast<Ogre::Entity*>(nodes.front()->getAttachedObject(0))->getMesh();
    }

    // The page (0, 0): x 0..50, z 0..50, centre (25, 0, 25).
    PageInfo firstPage() const
    {
        PageInfo info;
        info.bounds = TBounds(0.0f, 0.0f, 50.0f, 50.0f);
        info.centerPoint = Ogre::Vector3(25.0f, 0.0f, 25.0f);
        return info;
    }

    Ogre::SceneManager* sceneMgr = nullptr;
    uint32_t nowMs = 0;
    std::unique_ptr<GeometryPager> pager;
    GeometryPageManager* level = nullptr;
    std::unique_ptr<TestGrassLoader> loader;
};

TEST_F(GrassLoaderTest, PagesGetTheirDensitysBladesUpToWhat16BitIndicesReach)
{
    GrassLayer* layer = loader->addLayer(kMaterial);
    struct Case
    {
        const char* what;
        float density;
        GrassTechnique technique;
        size_t blades;
        size_t verticesPerBlade;
    };
    const Case cases[] = {
        {"50 x 50 units at 1.5 a square unit", 1.5f, GRASSTECH_QUAD, 3750, 4},
        {"a fraction of a blade is none", 0.0101f, GRASSTECH_QUAD, 25, 4},
        {"quads beyond 16-bit indices are clamped", 10.0f, GRASSTECH_QUAD, 16384, 4},
        {"cross quads take twice the vertices", 10.0f, GRASSTECH_CROSSQUADS, 8192, 8},
        {"sprites take four", 10.0f, GRASSTECH_SPRITE, 16384, 4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        layer->setDensity(c.density);
        layer->setRenderTechnique(c.technique);
        pager->reloadGeometry();
        frame();
        ASSERT_EQ(level->getLoadedPageCount(), 4u);
        const Ogre::Mesh& mesh = pageMesh(1, 0);
        EXPECT_EQ(mesh.getSubMesh(0)->vertexData->vertexCount, c.blades * c.verticesPerBlade);
        EXPECT_EQ(mesh.getSubMesh(0)->indexData->indexBuffer->getType(), Ogre::HardwareIndexBuffer::IT_16BIT);
        const std::vector<uint16_t> indices = readIndices(mesh);
        ASSERT_EQ(indices.size(), c.blades * c.verticesPerBlade / 4 * 6);
        for (size_t i = 0; i < indices.size(); i += 6)
        {
            const uint16_t b = static_cast<uint16_t>(i / 6 * 4);
            const std::array<uint16_t, 6> quad = {indices[i], indices[i + 1], indices[i + 2],
                                                  indices[i + 3], indices[i + 4], indices[i + 5]};
            ASSERT_EQ(quad, (std::array<uint16_t, 6>{b, uint16_t(b + 2), uint16_t(b + 1), uint16_t(b + 1),
                                                     uint16_t(b + 2), uint16_t(b + 3)}))
                << "quad " << i / 6;
        }
    }
}

TEST_F(GrassLoaderTest, QuadsAndCrossQuadsStandOnTheGroundSizedByOneRandomNumber)
{
    GrassLayer* layer = loader->addLayer(kMaterial);
    layer->setDensity(0.2f);
    layer->setMinimumSize(0.4f, 1.0f);
    layer->setMaximumSize(1.2f, 3.0f);
    for (GrassTechnique technique : {GRASSTECH_QUAD, GRASSTECH_CROSSQUADS})
    {
        SCOPED_TRACE(technique == GRASSTECH_QUAD ? "quads" : "cross quads");
        layer->setRenderTechnique(technique);
        pager->reloadGeometry();
        frame();
        const Ogre::Vector3 centre(75.0f, 0.0f, 25.0f);  // page (1, 0)
        const Ogre::Mesh& mesh = pageMesh(1, 0);
        const std::vector<Vertex> vertices = readVertices(mesh);
        ASSERT_EQ(vertices.size() % 4, 0u);
        float lowestFoot = 1e9f, highestTop = -1e9f;
        for (size_t q = 0; q < vertices.size(); q += 4)
        {
            const Vertex* v = &vertices[q];
            const Ogre::Vector2 uvs[4] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
            for (int i = 0; i < 4; ++i)
                ASSERT_EQ(v[i].uv, uvs[i]);
            for (int i = 0; i < 4; ++i)
                ASSERT_EQ(v[i].colour, 0xFFFFFFFFu) << "white without a colour map";
            for (int foot : {2, 3})
            {
                const Ogre::Vector3 world = v[foot].position + centre;
                ASSERT_NEAR(world.y, ground(world.x, world.z), 1e-4f) << "quad " << q / 4;
                ASSERT_EQ(v[foot - 2].position.x, v[foot].position.x);
                ASSERT_EQ(v[foot - 2].position.z, v[foot].position.z);
            }
            const float height = v[0].position.y - v[2].position.y;
            const Ogre::Vector3 span = v[3].position - v[2].position;
            const float width = std::sqrt(span.x * span.x + span.z * span.z);  // across the slope
            EXPECT_NEAR((width - 0.4f) / 0.8f, (height - 1.0f) / 2.0f, 1e-3f) << "quad " << q / 4;
            EXPECT_NEAR(v[1].position.y - v[3].position.y, height, 1e-4f);
            const Ogre::Vector3 middle = 0.5f * (v[2].position + v[3].position) + centre;
            EXPECT_TRUE(middle.x >= 50.0f && middle.x <= 100.0f && middle.z >= 0.0f && middle.z <= 50.0f)
                << middle;
            lowestFoot = std::min({lowestFoot, v[2].position.y, v[3].position.y});
            highestTop = std::max({highestTop, v[0].position.y, v[1].position.y});

            if (technique == GRASSTECH_CROSSQUADS && q % 8 == 4)
            {
                // The second quad: the first turned a right angle about the same middle.
                const Vertex* first = v - 4;
                const Ogre::Vector3 across = v[3].position - v[2].position;
                const Ogre::Vector3 along = first[3].position - first[2].position;
                EXPECT_NEAR(across.x * along.x + across.z * along.z, 0.0f, 1e-3f);
                EXPECT_NEAR(across.x * across.x + across.z * across.z, along.x * along.x + along.z * along.z, 1e-3f);
                const Ogre::Vector3 firstMiddle = 0.5f * (first[2].position + first[3].position);
                const Ogre::Vector3 secondMiddle = 0.5f * (v[2].position + v[3].position);
                EXPECT_NEAR(firstMiddle.x, secondMiddle.x, 1e-4f);
                EXPECT_NEAR(firstMiddle.z, secondMiddle.z, 1e-4f);
                EXPECT_NEAR(height, first[0].position.y - first[2].position.y, 1e-4f);
            }
        }
        const Ogre::AxisAlignedBox& bounds = mesh.getBounds();
        EXPECT_EQ(bounds.getMinimum(), Ogre::Vector3(-25.0f, lowestFoot, -25.0f));
        EXPECT_EQ(bounds.getMaximum(), Ogre::Vector3(25.0f, highestTop, 25.0f));
        EXPECT_FLOAT_EQ(mesh.getBoundingSphereRadius(), 0.5f * (bounds.getMaximum() - bounds.getMinimum()).length());
    }
}

TEST_F(GrassLoaderTest, SpritesCarryTheirCornersForTheProgramToTurn)
{
    GrassLayer* layer = loader->addLayer(kMaterial);
    layer->setDensity(0.2f);
    layer->setMinimumSize(0.4f, 1.0f);
    layer->setMaximumSize(1.2f, 3.0f);
    layer->setRenderTechnique(GRASSTECH_SPRITE);
    frame();
    const Ogre::Vector3 centre(25.0f, 0.0f, 75.0f);  // page (0, 1)
    const std::vector<Vertex> vertices = readVertices(pageMesh(0, 1));
    ASSERT_FALSE(vertices.empty());
    std::set<bool> mirrored;
    for (size_t q = 0; q < vertices.size(); q += 4)
    {
        const Vertex* v = &vertices[q];
        const Ogre::Vector3 world = v[0].position + centre;
        ASSERT_NEAR(world.y, ground(world.x, world.z), 1e-4f);
        const float halfWidth = v[1].normal.x;
        const float height = v[0].normal.y;
        EXPECT_NEAR((2.0f * halfWidth - 0.4f) / 0.8f, (height - 1.0f) / 2.0f, 1e-3f);
        const Ogre::Vector4 corners[4] = {{-halfWidth, height, 0, 0}, {halfWidth, height, 0, 0},
                                          {-halfWidth, 0, 0, 0}, {halfWidth, 0, 0, 0}};
        const bool flipped = v[0].uv.x == 1.0f;
        mirrored.insert(flipped);
        for (int i = 0; i < 4; ++i)
        {
            ASSERT_EQ(v[i].position, v[0].position) << "all four at the blade's ground point";
            EXPECT_EQ(v[i].normal, corners[i]);
            EXPECT_EQ(v[i].uv, Ogre::Vector2(flipped == (i % 2 == 0) ? 1.0f : 0.0f, i < 2 ? 0.0f : 1.0f));
        }
    }
    EXPECT_EQ(mirrored.size(), 2u) << "about half the sprites are mirrored";
}

TEST_F(GrassLoaderTest, ASizeHookOfNothingLeavesLinesOnTheGround)
{
    GrassLayer* layer = loader->addLayer(kMaterial);
    layer->setDensity(0.05f);
    loader->flatten = true;
    frame();
    const std::vector<Vertex> vertices = readVertices(pageMesh(1, 1));
    ASSERT_FALSE(vertices.empty());
    for (size_t q = 0; q < vertices.size(); q += 4)
        for (int i = 1; i < 4; ++i)
            ASSERT_EQ(vertices[q + i].position, vertices[q].position) << "quad " << q / 4;
}

TEST_F(GrassLoaderTest, APageLoadsTheSameGrassEveryTimeAndItsNeighboursDiffer)
{
    struct Seed
    {
        int x, z;
        unsigned seed;
    };
    const Seed seeds[] = {
        {0, 0, 0u},
        {1, 2, 0x00010002u},
        {-1, -2, 0xFFFFFFFEu},          // the low 16 bits of the C remainders
        {65535, -65536, 0x0000FFFFu},
        {70000, 3, (4465u << 16) | 3u},
    };
    for (const Seed& s : seeds)
        EXPECT_EQ(GrassLoader::pageSeed(s.x, s.z), s.seed) << s.x << ", " << s.z;

    loader->addLayer(kMaterial)->setDensity(0.1f);
    frame();
    const std::vector<Vertex> first = readVertices(pageMesh(0, 1));
    const std::vector<Vertex> neighbour = readVertices(pageMesh(1, 1));
    std::srand(12345);  // whatever ran in between
    pager->reloadGeometry();
    frame();
    const std::vector<Vertex> again = readVertices(pageMesh(0, 1));
    ASSERT_EQ(again.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(again[i].position, first[i].position) << "vertex " << i;
    ASSERT_FALSE(neighbour.empty());
    EXPECT_NE(neighbour[0].position, first[0].position);
}

TEST_F(GrassLoaderTest, AHeightRangeAsksTheGroundOncePerTryAndKeepsWhatFits)
{
    GrassLayer* layer = loader->addLayer(kMaterial);
    loader->heightAt = [](float x, float) { return x / 10.0f; };  // 0..5 over the page
    struct Case
    {
        const char* what;
        float low, high;
        float keptLow, keptHigh;  // the heights the kept blades may have
    };
    const Case cases[] = {
        {"no range: the ground is not asked", 0.0f, 0.0f, 0.0f, 5.0f},
        {"a low end only", 2.0f, 0.0f, 2.0f, 5.0f},
        {"a high end only", 0.0f, 3.0f, 0.0f, 3.0f},
        {"both ends", 2.0f, 3.0f, 2.0f, 3.0f},
    };
    const size_t tries = 400;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        layer->setHeightRange(c.low, c.high);
        loader->heightCalls = 0;
        const std::vector<GrassLoader::Position> kept =
            loader->_populateGrassList_Uniform(*layer, firstPage().bounds, tries);
        EXPECT_EQ(static_cast<size_t>(loader->heightCalls), c.low == 0.0f && c.high == 0.0f ? 0u : tries);
        const size_t expected = static_cast<size_t>(tries * (c.keptHigh - c.keptLow) / 5.0f);
        EXPECT_NEAR(static_cast<double>(kept.size()), static_cast<double>(expected), tries * 0.1);
        for (const GrassLoader::Position& p : kept)
        {
            ASSERT_GE(p.x / 10.0f, c.keptLow);
            ASSERT_LE(p.x / 10.0f, c.keptHigh);
        }
    }
}

// Maps made from texels in memory; the layer finds them in the shared registry by name.
struct Texels
{
    std::vector<uint8_t> bytes;
    uint32_t width;
    Texels(std::initializer_list<uint8_t> rgba, uint32_t texelsWide) : bytes(rgba), width(texelsWide) {}
    Ogre::PixelBox box() { return Ogre::PixelBox(width, 1, 1, Ogre::PF_BYTE_RGBA, bytes.data()); }
};

TEST_F(GrassLoaderTest, BladesOnAColourMapsEdgeStayAndJustOutsideGo)
{
    Texels green({40, 160, 30, 255}, 1);
    ColorMap* held = ColorMap::load("GrassLoaderTest/green.png", green.box(), CHANNEL_COLOR);
    GrassLayer* layer = loader->addLayer(kMaterial);
    layer->setMapBounds(TBounds(10.0f, 20.0f, 30.0f, 40.0f));
    layer->setColorMap("GrassLoaderTest/green.png", CHANNEL_COLOR);
    ASSERT_EQ(layer->getColorMap(), held);

    struct Case
    {
        const char* what;
        float x, z;
        bool kept;
    };
    const float out = 0.001f;
    const Case cases[] = {
        {"left edge", 10.0f, 30.0f, true},         {"right edge", 30.0f, 30.0f, true},
        {"top edge", 20.0f, 20.0f, true},          {"bottom edge", 20.0f, 40.0f, true},
        {"a corner", 30.0f, 40.0f, true},          {"left of it", 10.0f - out, 30.0f, false},
        {"right of it", 30.0f + out, 30.0f, false}, {"above it", 20.0f, 20.0f - out, false},
        {"below it", 20.0f, 40.0f + out, false},
    };
    for (const Case& c : cases)
    {
        // A page of no size puts every try on its one point.
        const std::vector<GrassLoader::Position> kept =
            loader->_populateGrassList_Uniform(*layer, TBounds(c.x, c.z, c.x, c.z), 1);
        EXPECT_EQ(kept.size(), c.kept ? 1u : 0u) << c.what;
    }

    // Blades take the map's colour, packed as the map packs it.
    layer->setMapBounds(TBounds(0.0f, 0.0f, 100.0f, 100.0f));
    layer->setDensity(0.05f);
    frame();
    const uint32_t expected = held->getColorAt(60.0f, 10.0f);
    EXPECT_NE(expected, 0xFFFFFFFFu);
    for (const Vertex& v : readVertices(pageMesh(1, 0)))
        ASSERT_EQ(v.colour, expected);
    held->unload();
}

TEST_F(GrassLoaderTest, DensityMapsThinOutTheGrassByTheirFilter)
{
    // Dense on the left texel, bare on the right one, over the page x 0..50.
    Texels halves({255, 0, 0, 255, 0, 0, 0, 255}, 2);
    DensityMap* held = DensityMap::load("GrassLoaderTest/halves.png", halves.box(), CHANNEL_RED);
    GrassLayer* layer = loader->addLayer(kMaterial);
    layer->setMapBounds(firstPage().bounds);
    layer->setDensityMap("GrassLoaderTest/halves.png", CHANNEL_RED);
    ASSERT_EQ(layer->getDensityMap(), held);
    const size_t tries = 2000;

    layer->setDensityMapFilter(MAPFILTER_NONE);
    const std::vector<GrassLoader::Position> nearest =
        loader->_populateGrassList_UnfilteredDM(*layer, firstPage().bounds, tries);
    EXPECT_NEAR(static_cast<double>(nearest.size()), tries / 2.0, tries * 0.05);
    for (const GrassLoader::Position& p : nearest)
        ASSERT_LE(p.x, 25.0f) << "nearest texel: only the dense half";

    layer->setDensityMapFilter(MAPFILTER_BILINEAR);
    const std::vector<GrassLoader::Position> smooth =
        loader->_populateGrassList_BilinearDM(*layer, firstPage().bounds, tries);
    size_t inTheRamp = 0;
    for (const GrassLoader::Position& p : smooth)
    {
        ASSERT_LE(p.x, 37.5f) << "bare beyond the right texel's centre";
        inTheRamp += p.x > 25.0f ? 1 : 0;
    }
    EXPECT_GT(inTheRamp, 0u) << "the density falls off between the texel centres";

    // The loader picks the population by the layer's filter.
    layer->setDensity(2000.0f / 2500.0f);
    layer->setDensityMapFilter(MAPFILTER_NONE);
    frame();
    for (const Vertex& v : readVertices(pageMesh(0, 0)))
        ASSERT_LE(v.position.x + 25.0f, 25.0f + 1.0f) << "within a blade's half width of the dense half";
    layer->setDensityMap("");
    EXPECT_EQ(held->getReferenceCount(), 1u) << "the layer let its map go";
    held->unload();
}

TEST_F(GrassLoaderTest, EveryMeshNodeAndCloneGoesWithItsPage)
{
    const size_t meshesBefore = meshCount();
    const unsigned short nodesBefore = sceneMgr->getRootSceneNode()->numChildren();
    loader->addLayer(kMaterial)->setDensity(0.02f);
    GrassLayer* crossed = loader->addLayer(kMaterial);
    crossed->setDensity(0.01f);
    crossed->setRenderTechnique(GRASSTECH_CROSSQUADS);
    loader->setRenderQueueGroup(50);
    frame();
    ASSERT_EQ(level->getLoadedPageCount(), 4u);
    EXPECT_EQ(meshCount(), meshesBefore + 8) << "one mesh per layer and page";
    EXPECT_EQ(loader->getLiveMeshCount(), 8u);
    EXPECT_EQ(sceneMgr->getRootSceneNode()->numChildren(), nodesBefore + 8);

    const std::vector<Ogre::SceneNode*>& nodes = page(0, 0).getNodes();
    ASSERT_EQ(nodes.size(), 2u);
    const auto* firstClone = static_cast<Ogre::Entity*>(nodes[0]->getAttachedObject(0));
    const auto* secondClone = static_cast<Ogre::Entity*>(nodes[1]->getAttachedObject(0));
    EXPECT_EQ(nodes[0]->getPosition(), Ogre::Vector3(25.0f, 0.0f, 25.0f));
    EXPECT_EQ(firstClone->getRenderQueueGroup(), 50);
    EXPECT_FALSE(firstClone->getCastShadows());
    // A mesh's template entity takes the next "GrassLDR" name; the clones count on their own.
    EXPECT_EQ(serial(secondClone->getMesh()->getName(), "GrassLDR"),
              serial(firstClone->getMesh()->getName(), "GrassLDR") + 2);
    EXPECT_EQ(serial(secondClone->getName(), "GrassPage"), serial(firstClone->getName(), "GrassPage") + 1);

    pager->reloadGeometryPage(Ogre::Vector3(10.0f, 0.0f, 10.0f));
    EXPECT_EQ(meshCount(), meshesBefore + 6);
    EXPECT_TRUE(page(0, 0).getNodes().empty());
    pager->reloadGeometry();
    EXPECT_EQ(meshCount(), meshesBefore);
    EXPECT_EQ(sceneMgr->getRootSceneNode()->numChildren(), nodesBefore);

    // Layers that keep nothing make nothing, and the page holds no data of the loader's.
    for (const auto& layer : loader->getLayers())
        layer->setDensity(0.0f);
    frame();
    ASSERT_EQ(level->getLoadedPageCount(), 4u);
    EXPECT_EQ(meshCount(), meshesBefore);
    EXPECT_EQ(page(1, 1).getUserData(), nullptr);

    for (const auto& layer : loader->getLayers())
        layer->setDensity(0.02f);
    pager->reloadGeometry();
    frame();
    EXPECT_EQ(meshCount(), meshesBefore + 8);
    pager.reset();
    EXPECT_EQ(meshCount(), meshesBefore) << "deleting the pager frees the meshes of loaded pages";
    EXPECT_EQ(loader->getLiveMeshCount(), 0u);
}

TEST_F(GrassLoaderTest, LayersNeedAnExistingMaterialAndRebuildOnlyOnChange)
{
    try
    {
        loader->addLayer("GrassLoaderTest/NoSuchMaterial");
        FAIL() << "an unknown material is refused";
    }
    catch (const Ogre::ItemIdentityException& error)
    {
        EXPECT_NE(error.getDescription().find("GrassLoaderTest/NoSuchMaterial"), std::string::npos);
    }
    EXPECT_TRUE(loader->getLayers().empty());

    GrassLayer* layer = loader->addLayer(kMaterial);
    struct Case
    {
        const char* what;
        std::function<void()> change;
        bool dirty;
    };
    const Case cases[] = {
        {"the same maximum height", [&] { layer->setMaximumSize(2.0f, 1.0f); }, false},
        {"a new maximum height", [&] { layer->setMaximumSize(2.0f, 0.6f); }, true},
        {"the same techniques", [&] { layer->setRenderTechnique(GRASSTECH_QUAD, false); }, false},
        {"blending", [&] { layer->setRenderTechnique(GRASSTECH_QUAD, true); }, true},
        {"sprites", [&] { layer->setRenderTechnique(GRASSTECH_SPRITE, true); }, true},
        {"the same fade", [&] { layer->setFadeTechnique(FADETECH_ALPHA); }, false},
        {"growing", [&] { layer->setFadeTechnique(FADETECH_GROW); }, true},
        {"animation", [&] { layer->setAnimationEnabled(true); }, true},
        {"sway and density", [&] { layer->setSwaySpeed(3.0f); layer->setDensity(4.0f); }, false},
        {"the same material", [&] { layer->setMaterialName(kMaterial); }, false},
    };
    for (const Case& c : cases)
    {
        layer->_updateShaders(false);
        ASSERT_FALSE(layer->isShaderDirty());
        c.change();
        EXPECT_EQ(layer->isShaderDirty(), c.dirty) << c.what;
    }
    // Without vertex programs the layer draws with its own material.
    layer->_updateShaders(false);
    EXPECT_EQ(layer->getMaterial()->getName(), kMaterial);
}

TEST(GrassLayerTest, TheWavePhaseStaysWithinAFullTurn)
{
    struct Case
    {
        const char* what;
        float phase, speed, seconds, expected;
    };
    const float turn = Ogre::Math::TWO_PI;
    const Case cases[] = {
        {"a step", 1.0f, 0.5f, 0.2f, 1.0f + 0.1f * Ogre::Math::PI},
        {"a full turn stays", turn, 1.0f, 0.0f, turn},
        {"past a turn wraps", 6.0f, 1.0f, 0.2f, 6.0f + 0.2f * Ogre::Math::PI - turn},
        {"a frame of almost a period", 0.5f, 1.0f, 1.99f, 0.5f + 1.99f * Ogre::Math::PI - turn},
    };
    for (const Case& c : cases)
    {
        const float phase = GrassLayer::advanceWavePhase(c.phase, c.speed, c.seconds);
        EXPECT_NEAR(phase, c.expected, 1e-5f) << c.what;
        EXPECT_GE(phase, 0.0f) << c.what;
        EXPECT_LE(phase, turn) << c.what;
    }
}
}
