// Tyre-track trail: which pairs land in which strip, the strip limit, clean removal.
#include "graphics/DynamicQuads.h"
#include "graphics/LineManager.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct StripView
{
    std::string nodeName;
    size_t vertices;            // 0 while the strip has a single pair
    Ogre::Vector3 firstVertex;  // the strip's first left point
};

class LineManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        scene = HeadlessOgre::createSceneManager();
        root = scene->getRootSceneNode();
    }
    void TearDown() override { Ogre::Root::getSingleton().destroySceneManager(scene); }

    // The strips as the scene shows them, in creation order.
    std::vector<StripView> strips() const
    {
        std::vector<StripView> views;
        for (Ogre::Node* child : root->getChildren())
        {
            auto* node = static_cast<Ogre::SceneNode*>(child);
            EXPECT_EQ(node->numAttachedObjects(), 1u);
            auto* quads = static_cast<DynamicQuads*>(node->getAttachedObject(0));
            Ogre::RenderOperation operation;
            quads->getRenderOperation(operation);
            StripView view{node->getName(), 0, Ogre::Vector3::ZERO};
            if (operation.vertexData->vertexBufferBinding->isBufferBound(0))
            {
                view.vertices = operation.vertexData->vertexCount;
                const auto& buffer = operation.vertexData->vertexBufferBinding->getBuffer(0);
                const auto* data = static_cast<const float*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
                view.firstVertex = Ogre::Vector3(data[0], data[1], data[2]);
                buffer->unlock();
            }
            views.push_back(view);
        }
        return views;
    }

    static unsigned numberOf(const std::string& nodeName)
    {
        return static_cast<unsigned>(std::stoul(nodeName.substr(std::string(LineManager::kNodePrefix).size())));
    }

    // Pair k lies across the road at z = k.
    static void addPair(LineManager& lines, int k)
    {
        lines.addLine(Ogre::Vector3(0, 0, static_cast<float>(k)), Ogre::Vector3(1, 0, static_cast<float>(k)));
    }

    Ogre::SceneManager* scene = nullptr;
    Ogre::SceneNode* root = nullptr;
};

// Vertices of a strip of n pairs: four per quad, n - 1 quads.
size_t verticesFor(int pairs)
{
    return pairs < 2 ? 0 : static_cast<size_t>(4 * (pairs - 1));
}
}

TEST_F(LineManagerTest, FullStripsCloseWithThePairThatOpensTheNext)
{
    LineManager lines(scene, "", 100, 40);
    EXPECT_TRUE(strips().empty()) << "no strip before the first pair";

    addPair(lines, 1);
    ASSERT_EQ(strips().size(), 1u);
    EXPECT_EQ(strips()[0].vertices, 0u) << "a single pair draws nothing";

    for (int k = 2; k <= 41; ++k)
        addPair(lines, k);
    ASSERT_EQ(strips().size(), 1u);
    EXPECT_EQ(strips()[0].vertices, verticesFor(41));

    addPair(lines, 42);
    ASSERT_EQ(strips().size(), 2u);
    EXPECT_EQ(strips()[0].vertices, verticesFor(42)) << "pair 42 closes strip 1";
    EXPECT_EQ(strips()[1].vertices, 0u) << "and opens strip 2";
    EXPECT_EQ(numberOf(strips()[1].nodeName), numberOf(strips()[0].nodeName) + 1);

    for (int k = 43; k <= 83; ++k)
        addPair(lines, k);
    ASSERT_EQ(strips().size(), 3u);
    EXPECT_EQ(strips()[1].vertices, verticesFor(42)) << "every full strip holds 42 pairs";
    EXPECT_EQ(strips()[1].firstVertex, Ogre::Vector3(0, 0, 42)) << "the trail stays continuous";
    EXPECT_EQ(strips()[0].vertices, verticesFor(42)) << "older strips are left alone";
}

TEST_F(LineManagerTest, ClearStartsAStripThatDoesNotJoin)
{
    LineManager lines(scene, "", 100, 40);
    lines.clear();  // before any pair: nothing changes
    addPair(lines, 1);
    addPair(lines, 2);
    addPair(lines, 3);
    ASSERT_EQ(strips().size(), 1u);

    lines.clear();
    lines.clear();  // twice is the same as once
    EXPECT_EQ(strips()[0].vertices, verticesFor(3)) << "the closed strip keeps its geometry";

    addPair(lines, 10);
    addPair(lines, 11);
    ASSERT_EQ(strips().size(), 2u);
    EXPECT_EQ(strips()[1].vertices, verticesFor(2));
    EXPECT_EQ(strips()[1].firstVertex, Ogre::Vector3(0, 0, 10)) << "no quad back to the old strip";
}

TEST_F(LineManagerTest, OldestStripAndItsNodeGoWhenTheLimitIsReached)
{
    LineManager lines(scene, "", 3, 40);
    std::vector<std::string> names;
    for (int strip = 0; strip < 5; ++strip)
    {
        addPair(lines, 2 * strip);
        addPair(lines, 2 * strip + 1);
        names.push_back(strips().back().nodeName);
        lines.clear();
    }
    const auto kept = strips();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].nodeName, names[2]);
    EXPECT_EQ(kept[2].nodeName, names[4]);
    EXPECT_EQ(numberOf(names[4]), numberOf(names[0]) + 4) << "the counter keeps counting";
    EXPECT_FALSE(scene->hasSceneNode(names[0])) << "dropped nodes are destroyed, not only detached";
    EXPECT_FALSE(scene->hasSceneNode(names[1]));
    EXPECT_EQ(kept[0].firstVertex, Ogre::Vector3(0, 0, 4));
}

TEST_F(LineManagerTest, DestructionLeavesNothingBehind)
{
    const size_t nodesBefore = root->numChildren();
    std::vector<std::string> names;
    {
        LineManager lines(scene, "wheel", 100, 4);
        for (int k = 0; k < 30; ++k)
            addPair(lines, k);
        for (const StripView& strip : strips())
            names.push_back(strip.nodeName);
        ASSERT_GT(names.size(), 1u);
        EXPECT_EQ(scene->getSceneNode(names[0])->getAttachedObject(0)->getCastShadows(), false);
    }
    EXPECT_EQ(root->numChildren(), nodesBefore);
    for (const std::string& name : names)
        EXPECT_FALSE(scene->hasSceneNode(name)) << name;
}
