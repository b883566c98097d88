// Batching on the offline engine: which copies share a draw, where their vertices land, their
// indices and colours, the switch to 32-bit indices, refused input and culling.
#include "BatchMeshes.h"
#include "HeadlessOgre.h"
#include "paging/BatchedGeometry.h"
#include "paging/BatchedGeometrySubBatch.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace
{
using Layout = BatchMeshes::Layout;

struct Counts
{
    size_t vertices;
    size_t indices;
    bool operator<(const Counts& other) const
    {
        return std::make_pair(vertices, indices) < std::make_pair(other.vertices, other.indices);
    }
    bool operator==(const Counts& other) const
    {
        return vertices == other.vertices && indices == other.indices;
    }
};

std::vector<BatchedGeometry::SubBatch*> subBatchesOf(BatchedGeometry& batch)
{
    std::vector<BatchedGeometry::SubBatch*> found;
    BatchedGeometry::SubBatchIterator it = batch.getSubBatchIterator();
    while (it.hasMoreElements())
        found.push_back(it.getNext());
    return found;
}

// The bytes of one element of vertex n of a baked sub-batch.
const unsigned char* elementOf(const BatchedGeometry::SubBatch& subBatch,
                               Ogre::VertexElementSemantic semantic, size_t n,
                               unsigned short index = 0)
{
    const Ogre::VertexData& data = subBatch.getVertexData();
    const Ogre::VertexElement* element = data.vertexDeclaration->findElementBySemantic(semantic, index);
    if (!element)
        return nullptr;
    const Ogre::HardwareVertexBufferSharedPtr& buffer =
        data.vertexBufferBinding->getBuffer(element->getSource());
    // The offline engine keeps buffers in memory: a read lock stays valid after unlocking.
    auto* base = static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    buffer->unlock();
    return base + n * buffer->getVertexSize() + element->getOffset();
}

Ogre::Vector3 vectorOf(const BatchedGeometry::SubBatch& subBatch,
                       Ogre::VertexElementSemantic semantic, size_t n)
{
    float xyz[3];
    std::memcpy(xyz, elementOf(subBatch, semantic, n), sizeof(xyz));
    return Ogre::Vector3(xyz[0], xyz[1], xyz[2]);
}

std::vector<uint32_t> indicesOf(const BatchedGeometry::SubBatch& subBatch)
{
    const Ogre::IndexData& data = subBatch.getIndexData();
    std::vector<uint32_t> indices(data.indexCount);
    const void* base = data.indexBuffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = data.indexBuffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT
                         ? static_cast<const uint32_t*>(base)[i]
                         : static_cast<const uint16_t*>(base)[i];
    data.indexBuffer->unlock();
    return indices;
}

class BatchedGeometryTest : public ::testing::Test
{
protected:
    void SetUp() override { sceneMgr = HeadlessOgre::createSceneManager(); }
    void TearDown() override { HeadlessOgre::root().destroySceneManager(sceneMgr); }

    Ogre::Entity* entity(const std::string& mesh, const Layout& layout)
    {
        return sceneMgr->createEntity(BatchMeshes::make(mesh, layout));
    }

    Ogre::SceneManager* sceneMgr = nullptr;
};

Layout layoutWith(size_t vertices, std::vector<std::string> materials = {"BatchTest/Bark"})
{
    Layout layout;
    layout.vertices = vertices;
    layout.materials = std::move(materials);
    return layout;
}
}

TEST_F(BatchedGeometryTest, CopiesShareADrawPerMaterialAndFormat)
{
    Layout plain = layoutWith(6);
    plain.diffuse = false;
    Layout wide = layoutWith(6);
    wide.indexType = Ogre::HardwareIndexBuffer::IT_32BIT;
    const std::vector<std::pair<std::string, Layout>> meshes = {
        {"Tree", layoutWith(6)},
        {"BigTree", layoutWith(9)},
        {"TwoPart", layoutWith(6, {"BatchTest/Bark", "BatchTest/Leaves"})},
        {"Plain", plain},
        {"Wide", wide},
    };
    struct Case
    {
        const char* name;
        std::vector<const char*> entities;
        std::vector<Counts> expected;  // per sub-batch
    };
    const size_t six = BatchMeshes::indexCount(6);
    const size_t nine = BatchMeshes::indexCount(9);
    const Case cases[] = {
        {"two copies of one mesh", {"Tree", "Tree"}, {{12, 2 * six}}},
        {"two meshes of one material and format", {"Tree", "BigTree"}, {{15, six + nine}}},
        {"submeshes differing only in material", {"TwoPart"}, {{6, six}, {6, six}}},
        {"a material shared across meshes", {"TwoPart", "Tree"}, {{6, six}, {12, 2 * six}}},
        {"with and without vertex colours", {"Tree", "Plain"}, {{6, six}, {6, six}}},
        {"16- and 32-bit indices", {"Tree", "Wide"}, {{6, six}, {6, six}}},
    };
    std::map<std::string, Ogre::Entity*> entities;
    for (const auto& mesh : meshes)
        entities[mesh.first] = entity(mesh.first, mesh.second);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        BatchedGeometry batch(sceneMgr);
        for (const char* name : c.entities)
            batch.addEntity(entities[name], Ogre::Vector3::ZERO);
        batch.build();
        std::vector<Counts> counts;
        for (BatchedGeometry::SubBatch* subBatch : subBatchesOf(batch))
            counts.push_back({subBatch->getVertexData().vertexCount,
                              subBatch->getIndexData().indexCount});
        std::vector<Counts> expected = c.expected;
        std::sort(counts.begin(), counts.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(counts, expected);
    }
}

TEST_F(BatchedGeometryTest, VerticesLandWhereEachCopyStandsAroundTheBatchCentre)
{
    const size_t vertices = 6;  // reaching every corner of the mesh's bounds
    Ogre::Entity* tree = entity("Tree", layoutWith(vertices));
    struct Copy
    {
        Ogre::Vector3 position;
        Ogre::Quaternion orientation;
        Ogre::Vector3 scale;
    };
    const Copy copies[] = {
        {{10.0f, 0.0f, 20.0f}, Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y), {2.0f, 3.0f, 2.0f}},
        {{-10.0f, 5.0f, 0.0f}, Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE},
    };
    BatchedGeometry batch(sceneMgr);
    Ogre::AxisAlignedBox world;
    for (const Copy& copy : copies)
    {
        batch.addEntity(tree, copy.position, copy.orientation, copy.scale);
        for (size_t n = 0; n < vertices; ++n)
            world.merge(copy.orientation * (BatchMeshes::vertexPosition(n) * copy.scale) + copy.position);
    }
    batch.build();

    const Ogre::Vector3 centre = world.getCenter();
    EXPECT_TRUE(batch.getCenter().positionEquals(centre, 1e-4f));
    ASSERT_NE(batch.getSceneNode(), nullptr);
    EXPECT_TRUE(batch.getSceneNode()->getPosition().positionEquals(centre, 1e-4f));
    EXPECT_TRUE(batch.getBoundingBox().getMaximum().positionEquals(world.getMaximum() - centre, 1e-4f));
    EXPECT_TRUE(batch.getBoundingBox().getMinimum().positionEquals(world.getMinimum() - centre, 1e-4f));
    EXPECT_NEAR(batch.getBoundingRadius(), (world.getMaximum() - centre).length(), 1e-4f);

    const std::vector<BatchedGeometry::SubBatch*> subBatches = subBatchesOf(batch);
    ASSERT_EQ(subBatches.size(), 1u);
    const BatchedGeometry::SubBatch& baked = *subBatches[0];
    for (size_t c = 0; c < 2; ++c)
    {
        for (size_t n = 0; n < vertices; ++n)
        {
            SCOPED_TRACE(testing::Message() << "copy " << c << " vertex " << n);
            const size_t at = c * vertices + n;
            const Copy& copy = copies[c];
            const Ogre::Vector3 expected =
                copy.orientation * (BatchMeshes::vertexPosition(n) * copy.scale) + copy.position - centre;
            EXPECT_TRUE(vectorOf(baked, Ogre::VES_POSITION, at).positionEquals(expected, 1e-4f));
            EXPECT_TRUE(vectorOf(baked, Ogre::VES_NORMAL, at)
                            .positionEquals(copy.orientation * Ogre::Vector3::UNIT_Z, 1e-5f));
            float uv[2];
            std::memcpy(uv, elementOf(baked, Ogre::VES_TEXTURE_COORDINATES, at, 1), sizeof(uv));
            EXPECT_EQ(uv[0], static_cast<float>(n));
            EXPECT_EQ(uv[1], 2.0f * n);
        }
    }
}

TEST_F(BatchedGeometryTest, IndicesOfEachCopyStartAfterTheVerticesBeforeIt)
{
    Ogre::Entity* small = entity("Small", layoutWith(4));
    Ogre::Entity* large = entity("Large", layoutWith(7));
    BatchedGeometry batch(sceneMgr);
    const std::vector<Ogre::Entity*> order = {small, large, small};
    for (Ogre::Entity* copy : order)
        batch.addEntity(copy, Ogre::Vector3::ZERO);
    batch.build();

    std::vector<uint32_t> expected;
    uint32_t offset = 0;
    for (Ogre::Entity* copy : order)
    {
        const size_t vertices = copy == small ? 4 : 7;
        for (size_t k = 0; k + 2 < vertices; ++k)
            for (uint32_t corner = 0; corner < 3; ++corner)
                expected.push_back(offset + static_cast<uint32_t>(k) + corner);
        offset += static_cast<uint32_t>(vertices);
    }
    const std::vector<BatchedGeometry::SubBatch*> subBatches = subBatchesOf(batch);
    ASSERT_EQ(subBatches.size(), 1u);
    EXPECT_EQ(indicesOf(*subBatches[0]), expected);
}

TEST_F(BatchedGeometryTest, BatchesBeyond65535VerticesTakeWideIndices)
{
    using IndexType = Ogre::HardwareIndexBuffer::IndexType;
    struct Case
    {
        const char* name;
        size_t verticesPerCopy;
        size_t copies;
        IndexType meshIndices;
        IndexType expected;
    };
    const Case cases[] = {
        {"65,535 vertices keep 16 bits", 13107, 5, IndexType::IT_16BIT, IndexType::IT_16BIT},
        {"65,536 vertices need 32 bits", 16384, 4, IndexType::IT_16BIT, IndexType::IT_32BIT},
        {"a few thousand copies of a small tree", 40, 2000, IndexType::IT_16BIT, IndexType::IT_32BIT},
        {"32-bit meshes stay 32-bit", 6, 2, IndexType::IT_32BIT, IndexType::IT_32BIT},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Layout layout = layoutWith(c.verticesPerCopy);
        layout.indexType = c.meshIndices;
        Ogre::Entity* copy = entity(c.name, layout);
        BatchedGeometry batch(sceneMgr);
        for (size_t n = 0; n < c.copies; ++n)
            batch.addEntity(copy, Ogre::Vector3(static_cast<float>(n), 0.0f, 0.0f));
        batch.build();

        const std::vector<BatchedGeometry::SubBatch*> subBatches = subBatchesOf(batch);
        ASSERT_EQ(subBatches.size(), 1u);
        const size_t total = c.verticesPerCopy * c.copies;
        EXPECT_EQ(subBatches[0]->getVertexData().vertexCount, total);
        EXPECT_EQ(subBatches[0]->getIndexData().indexBuffer->getType(), c.expected);
        // The last copy's last triangle reaches the last vertex.
        const std::vector<uint32_t> indices = indicesOf(*subBatches[0]);
        ASSERT_EQ(indices.size(), c.copies * BatchMeshes::indexCount(c.verticesPerCopy));
        EXPECT_EQ(indices.back(), total - 1);
        EXPECT_EQ(*std::max_element(indices.begin(), indices.end()), total - 1);
    }
}

TEST_F(BatchedGeometryTest, VertexColoursCarryTheCopyTintTimesTheAmbient)
{
    struct Case
    {
        const char* name;
        Ogre::VertexElementType colourType;
        bool meshHasColours;
        Ogre::ColourValue ambient;
        Ogre::ColourValue tint;
        uint8_t expected[4];  // in memory order
    };
    const Ogre::ColourValue ambient(0.5f, 1.0f, 0.25f);
    const Ogre::ColourValue tint(1.0f, 0.5f, 0.75f);
    // The mesh's colour bytes are 200, 100, 50, 128.
    const Case cases[] = {
        {"ABGR, mesh colours tinted", Ogre::VET_COLOUR_ABGR, true, ambient, tint, {100, 50, 9, 128}},
        {"ARGB, mesh colours tinted", Ogre::VET_COLOUR_ARGB, true, ambient, tint, {37, 50, 25, 128}},
        {"ABGR, colour made from the tint", Ogre::VET_COLOUR_ABGR, false, ambient, tint, {127, 127, 47, 255}},
        {"ARGB, colour made from the tint", Ogre::VET_COLOUR_ARGB, false, ambient, tint, {47, 127, 127, 255}},
        {"bright tints saturate", Ogre::VET_COLOUR_ABGR, true, Ogre::ColourValue::White,
         Ogre::ColourValue(2.0f, 2.0f, 2.0f), {255, 200, 100, 128}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Layout layout = layoutWith(5, {"BatchTest/Tinted"});
        layout.diffuse = c.meshHasColours;
        Ogre::Entity* tree = entity(c.name, layout);
        Ogre::Pass* pass = tree->getSubEntity(0)->getMaterial()->getTechnique(0)->getPass(0);
        pass->setAmbient(c.ambient);
        pass->setVertexColourTracking(Ogre::TVC_NONE);

        BatchedGeometry batch(sceneMgr, c.colourType);
        batch.addEntity(tree, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY,
                        Ogre::Vector3::UNIT_SCALE, c.tint);
        batch.addEntity(tree, Ogre::Vector3::UNIT_X, Ogre::Quaternion::IDENTITY,
                        Ogre::Vector3::UNIT_SCALE, c.tint);
        batch.build();

        EXPECT_EQ(pass->getVertexColourTracking(), Ogre::TVC_AMBIENT);
        const std::vector<BatchedGeometry::SubBatch*> subBatches = subBatchesOf(batch);
        ASSERT_EQ(subBatches.size(), 1u);
        const Ogre::VertexElement* colour =
            subBatches[0]->getVertexData().vertexDeclaration->findElementBySemantic(Ogre::VES_DIFFUSE);
        ASSERT_NE(colour, nullptr);
        if (!c.meshHasColours)
        {
            EXPECT_EQ(colour->getType(), c.colourType);
        }
        for (size_t n = 0; n < subBatches[0]->getVertexData().vertexCount; ++n)
        {
            const unsigned char* bytes = elementOf(*subBatches[0], Ogre::VES_DIFFUSE, n);
            EXPECT_EQ(std::vector<int>(bytes, bytes + 4),
                      std::vector<int>(c.expected, c.expected + 4)) << "vertex " << n;
        }
    }
}

TEST_F(BatchedGeometryTest, BoneWeightsAreDroppedAndTheSourcesBehindThemKept)
{
    Layout layout = layoutWith(5);
    layout.blendWeights = true;
    Ogre::Entity* skinned = entity("Skinned", layout);
    BatchedGeometry batch(sceneMgr);
    batch.addEntity(skinned, Ogre::Vector3(0.0f, 0.0f, 3.0f));
    batch.build();

    const std::vector<BatchedGeometry::SubBatch*> subBatches = subBatchesOf(batch);
    ASSERT_EQ(subBatches.size(), 1u);
    const Ogre::VertexData& data = subBatches[0]->getVertexData();
    EXPECT_EQ(data.vertexDeclaration->findElementBySemantic(Ogre::VES_BLEND_INDICES), nullptr);
    EXPECT_EQ(data.vertexDeclaration->findElementBySemantic(Ogre::VES_BLEND_WEIGHTS), nullptr);
    EXPECT_EQ(data.vertexBufferBinding->getBufferCount(), 2u);
    for (size_t n = 0; n < data.vertexCount; ++n)
    {
        float uv[2];
        std::memcpy(uv, elementOf(*subBatches[0], Ogre::VES_TEXTURE_COORDINATES, n, 1), sizeof(uv));
        EXPECT_EQ(uv[0], static_cast<float>(n));
        EXPECT_EQ(uv[1], 2.0f * n);
    }
}

TEST_F(BatchedGeometryTest, RefusedCallsLeaveTheBatchAsItWas)
{
    Ogre::Entity* tree = entity("Tree", layoutWith(6));
    Layout shared = layoutWith(6, {"BatchTest/Bark", "BatchTest/Leaves"});
    shared.sharedVertices = true;
    Ogre::Entity* sharedTree = entity("SharedTree", shared);

    BatchedGeometry empty(sceneMgr);
    empty.build();
    empty.build();  // nothing queued: nothing to refuse
    EXPECT_FALSE(empty.isBuilt());
    EXPECT_EQ(empty.getSceneNode(), nullptr);

    BatchedGeometry batch(sceneMgr);
    batch.addEntity(tree, Ogre::Vector3::ZERO);
    try
    {
        batch.addEntity(sharedTree, Ogre::Vector3::ZERO);
        ADD_FAILURE() << "shared vertex data was taken";
    }
    catch (const Ogre::InvalidParametersException& error)
    {
        EXPECT_EQ(error.getDescription(), "BatchedGeometry cannot use meshes with shared vertex data");
    }
    batch.build();
    ASSERT_EQ(batch.getSubBatchCount(), 1u);
    EXPECT_EQ(subBatchesOf(batch)[0]->getVertexData().vertexCount, 6u);
    try
    {
        batch.build();
        ADD_FAILURE() << "built twice";
    }
    catch (const Ogre::ItemIdentityException& error)
    {
        EXPECT_EQ(error.getDescription(),
                  "Invalid call to build() - geometry is already batched (call clear() first)");
    }
    EXPECT_EQ(subBatchesOf(batch)[0]->getVertexData().vertexCount, 6u);

    batch.clear();
    EXPECT_EQ(batch.getSubBatchCount(), 0u);
    EXPECT_EQ(batch.getSceneNode(), nullptr);
    EXPECT_EQ(sceneMgr->getRootSceneNode()->numChildren(), 0u) << "the batch's node is gone";
    batch.addEntity(tree, Ogre::Vector3::ZERO);
    batch.build();
    EXPECT_TRUE(batch.isBuilt());

    BatchedGeometry oddColours(sceneMgr, Ogre::VET_FLOAT4);
    try
    {
        oddColours.addEntity(tree, Ogre::Vector3::ZERO);
        ADD_FAILURE() << "an unknown colour layout was taken";
    }
    catch (const Ogre::IOException& error)
    {
        EXPECT_EQ(error.getDescription(), "Unknown RenderSystem color format");
        EXPECT_EQ(error.getSource(), "BatchedGeometry::SubBatch::addSubMesh()");
    }
}

TEST_F(BatchedGeometryTest, DrawsOnlyWithinItsRenderingDistance)
{
    // Counts what the batch hands the render queue.
    struct QueueCounter : Ogre::RenderQueue::RenderableListener
    {
        bool renderableQueued(Ogre::Renderable*, Ogre::uint8 group, Ogre::ushort,
                              Ogre::Technique**, Ogre::RenderQueue*) override
        {
            lastGroup = group;
            ++queued;
            return false;  // counted, not drawn
        }
        int queued = 0;
        Ogre::uint8 lastGroup = 0;
    };

    Ogre::Entity* twoPart = entity("TwoPart", layoutWith(6, {"BatchTest/Bark", "BatchTest/Leaves"}));
    BatchedGeometry batch(sceneMgr);
    batch.addEntity(twoPart, Ogre::Vector3(100.0f, 0.0f, 0.0f));
    batch.build();
    EXPECT_EQ(batch.getMovableType(), "BatchedGeometry");
    EXPECT_FALSE(batch.getCastShadows());
    batch.setRenderQueueGroup(Ogre::RENDER_QUEUE_6);

    const float radius = batch.getBoundingRadius();
    ASSERT_GT(radius, 0.0f);
    Ogre::Camera* camera = sceneMgr->createCamera("Viewer");
    Ogre::SceneNode* eye = sceneMgr->getRootSceneNode()->createChildSceneNode();
    eye->attachObject(camera);
    struct Case
    {
        const char* name;
        float renderingDistance;
        float cameraDistance;  // from the batch centre, along z
        bool drawn;
    };
    const float nearEnough = std::sqrt(50.0f * 50.0f + radius * radius) - 0.01f;
    const Case cases[] = {
        {"no rendering distance: always drawn", 0.0f, 5000.0f, true},
        {"inside the distance", 50.0f, 10.0f, true},
        {"the nearest point just within", 50.0f, nearEnough, true},
        {"beyond the distance", 50.0f, nearEnough + 1.0f, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        batch.setRenderingDistance(c.renderingDistance);
        eye->setPosition(batch.getCenter() + Ogre::Vector3(0.0f, 0.0f, c.cameraDistance));
        Ogre::RenderQueue queue;
        QueueCounter counter;
        queue.setRenderableListener(&counter);
        batch._notifyCurrentCamera(camera);
        batch._updateRenderQueue(&queue);
        EXPECT_EQ(counter.queued, c.drawn ? 2 : 0);
        if (c.drawn)
        {
            EXPECT_EQ(counter.lastGroup, Ogre::RENDER_QUEUE_6);
        }
    }
}
