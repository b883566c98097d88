// Growable renderables: the buffer capacity rule, the quad strip's vertices and bounds.
#include "graphics/DynamicLines.h"
#include "graphics/DynamicQuads.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{
// Exposes the base's buffers with an index buffer as well.
class IndexedProbe : public DynamicRenderable
{
public:
    IndexedProbe() { initialize(Ogre::RenderOperation::OT_TRIANGLE_LIST, true); }

protected:
    void createVertexDeclaration() override
    {
        mRenderOp.vertexData->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    }
    void fillHardwareBuffers() override {}
};

Ogre::RenderOperation operationOf(Ogre::SimpleRenderable& renderable)
{
    Ogre::RenderOperation operation;
    renderable.getRenderOperation(operation);
    return operation;
}

size_t vertexCapacity(Ogre::SimpleRenderable& renderable)
{
    const auto binding = operationOf(renderable).vertexData->vertexBufferBinding;
    return binding->isBufferBound(0) ? binding->getBuffer(0)->getNumVertices() : 0;
}

// Reads the strip's vertices back: position then texture coordinates.
std::vector<std::vector<float>> verticesOf(DynamicQuads& quads)
{
    const auto operation = operationOf(quads);
    const auto& buffer = operation.vertexData->vertexBufferBinding->getBuffer(0);
    const auto* data = static_cast<const float*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    std::vector<std::vector<float>> vertices;
    for (size_t i = 0; i < operation.vertexData->vertexCount; ++i)
        vertices.emplace_back(data + i * 5, data + i * 5 + 5);
    buffer->unlock();
    return vertices;
}

class DynamicRenderableTest : public ::testing::Test
{
protected:
    void SetUp() override { HeadlessOgre::root(); }
};
}

TEST_F(DynamicRenderableTest, CapacityGrowsAtOnceAndShrinksBelowHalf)
{
    struct Step
    {
        size_t count;
        size_t capacity;
    };
    // From empty: 5 → 8, 9 → 16, 8 keeps 16, 7 → 8, back to 16, 4 → 8 (halving stops at
    // once), 3 → 4, 0 → 1, then a large jump.
    const Step steps[] = {{5, 8}, {9, 16}, {8, 16}, {7, 8}, {16, 16}, {4, 8}, {3, 4}, {0, 1}, {1000, 1024}};
    IndexedProbe probe;
    const Ogre::HardwareVertexBuffer* previous = nullptr;
    size_t previousCapacity = 0;
    for (const Step& step : steps)
    {
        probe.prepareHardwareBuffers(step.count, step.count);
        const auto operation = operationOf(probe);
        EXPECT_EQ(vertexCapacity(probe), step.capacity) << "vertices " << step.count;
        EXPECT_EQ(operation.indexData->indexBuffer->getNumIndexes(), step.capacity) << "indices " << step.count;
        EXPECT_EQ(operation.indexData->indexBuffer->getType(), Ogre::HardwareIndexBuffer::IT_16BIT);
        EXPECT_EQ(operation.vertexData->vertexCount, step.count);
        EXPECT_EQ(operation.indexData->indexCount, step.count);
        const auto* buffer = operation.vertexData->vertexBufferBinding->getBuffer(0).get();
        if (step.capacity == previousCapacity)
        {
            EXPECT_EQ(buffer, previous) << "an unchanged capacity keeps its buffer";
        }
        previous = buffer;
        previousCapacity = step.capacity;
    }
}

TEST_F(DynamicRenderableTest, QuadStripNeedsTwoPairsAndDropsAnOddPoint)
{
    struct Case
    {
        int points;
        size_t vertices;  // 0: nothing drawn, no buffer
    };
    const Case cases[] = {{0, 0}, {3, 0}, {4, 4}, {5, 4}, {6, 8}, {84, 164}};
    for (const Case& c : cases)
    {
        DynamicQuads quads(Ogre::RenderOperation::OT_TRIANGLE_STRIP);
        for (int i = 0; i < c.points; ++i)
            quads.addPoint(static_cast<float>(i % 2), 0.0f, static_cast<float>(i / 2));
        quads.update();
        EXPECT_EQ(vertexCapacity(quads) == 0 ? 0 : operationOf(quads).vertexData->vertexCount, c.vertices)
            << c.points << " points";
    }

    DynamicQuads grown(Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    for (int i = 0; i < 84; ++i)
        grown.addPoint(0.0f, 0.0f, static_cast<float>(i));
    grown.update();
    EXPECT_EQ(vertexCapacity(grown), 256u) << "164 vertices from empty";
    EXPECT_EQ(operationOf(grown).vertexData->vertexDeclaration->getVertexSize(0), 20u);
    EXPECT_EQ(grown.getMaterial()->getName(), "BaseWhiteNoLighting");
}

TEST_F(DynamicRenderableTest, EachQuadMapsTheWholeTexture)
{
    DynamicQuads quads(Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    const std::vector<Ogre::Vector3> points = {{0, 0, 0}, {1, 0, 0}, {0, 0, 2}, {1, 0, 2}, {-3, 5, 4}, {1, -1, 9}};
    for (const auto& point : points)
        quads.addPoint(point);
    quads.update();

    const std::vector<std::vector<float>> expected = {
        {0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 0, 2, 0, 1}, {1, 0, 2, 1, 1},
        {0, 0, 2, 0, 0}, {1, 0, 2, 1, 0}, {-3, 5, 4, 0, 1}, {1, -1, 9, 1, 1},
    };
    EXPECT_EQ(verticesOf(quads), expected);

    const Ogre::AxisAlignedBox& box = quads.getBoundingBox();
    for (const auto& point : points)
        EXPECT_TRUE(box.contains(point)) << point;
    EXPECT_EQ(box.getMinimum(), Ogre::Vector3(-3, -1, 0));
    EXPECT_EQ(box.getMaximum(), Ogre::Vector3(1, 5, 9));
    EXPECT_FLOAT_EQ(quads.getBoundingRadius(), Ogre::Vector3(1, 5, 9).length());

    // Clearing and refilling rewrites the strip.
    quads.clear();
    quads.addPoint(0, 0, 0);
    quads.addPoint(2, 0, 0);
    quads.addPoint(0, 0, 1);
    quads.addPoint(2, 0, 1);
    quads.update();
    EXPECT_EQ(verticesOf(quads).size(), 4u);
    EXPECT_EQ(quads.getBoundingBox().getMaximum(), Ogre::Vector3(2, 0, 1));
}

TEST_F(DynamicRenderableTest, ViewDepthIsMeasuredToTheBoxCentre)
{
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    Ogre::Camera* camera = scene->createCamera("depthCamera");
    Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 0, 10));
    cameraNode->attachObject(camera);
    cameraNode->_update(true, false);

    DynamicQuads quads(Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    quads.addPoint(-1, 0, 0);
    quads.addPoint(1, 0, 0);
    quads.addPoint(-1, 0, 4);
    quads.addPoint(1, 0, 4);
    quads.update();
    EXPECT_FLOAT_EQ(quads.getSquaredViewDepth(camera), 64.0f);
    Ogre::Root::getSingleton().destroySceneManager(scene);
}

TEST_F(DynamicRenderableTest, LinesWriteOnePositionPerPoint)
{
    DynamicLines lines(Ogre::RenderOperation::OT_LINE_STRIP);
    lines.update();
    EXPECT_EQ(vertexCapacity(lines), 1u) << "an empty list still gets its first buffer";
    EXPECT_EQ(lines.getBoundingBox().getMinimum(), Ogre::Vector3::ZERO);
    EXPECT_EQ(lines.getBoundingBox().getMaximum(), Ogre::Vector3::ZERO);

    lines.addPoint(1, 2, 3);
    lines.addPoint(-4, 0, 6);
    lines.addPoint(0, 0, 0);
    lines.setPoint(2, Ogre::Vector3(7, 7, 7));
    lines.setPoint(9, Ogre::Vector3(100, 100, 100));  // past the end: ignored
    EXPECT_EQ(lines.getNumPoints(), 3);
    EXPECT_EQ(lines.getPoint(2), Ogre::Vector3(7, 7, 7));
    lines.update();
    EXPECT_EQ(vertexCapacity(lines), 4u);
    EXPECT_EQ(operationOf(lines).vertexData->vertexCount, 3u);
    EXPECT_EQ(operationOf(lines).vertexData->vertexDeclaration->getVertexSize(0), 12u);
    EXPECT_EQ(lines.getBoundingBox().getMaximum(), Ogre::Vector3(7, 7, 7));
    EXPECT_EQ(lines.getBoundingBox().getMinimum(), Ogre::Vector3(-4, 0, 3));
}
