// The editor's preview scene on a headless engine: where the model stands, how the turntable
// turns, and an unknown mesh shown as nothing with a log line.
#include "gui/PreviewScene.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
class LogCatcher : public Ogre::LogListener
{
public:
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&, bool&) override
    {
        lines += message + "\n";
    }
    std::string lines;
};

// A one-triangle mesh, enough to stand in for a tile model.
void makeMesh(const std::string& name)
{
    if (Ogre::MeshManager::getSingleton().resourceExists(name))
        return;
    Ogre::SceneManager* scratch = HeadlessOgre::createSceneManager();
    Ogre::ManualObject* triangle = scratch->createManualObject();
    triangle->begin("BaseWhite", Ogre::RenderOperation::OT_TRIANGLE_LIST);
    triangle->position(0, 0, 0);
    triangle->position(1, 0, 0);
    triangle->position(0, 0, 1);
    triangle->end();
    triangle->convertToMesh(name);
    HeadlessOgre::root().destroySceneManager(scratch);
}

Ogre::SceneNode* node(const PreviewScene& preview, const std::string& name)
{
    return preview.getSceneManager()->getSceneNode(name);
}
}

TEST(PreviewScene, ModelStandsCentredOverTheTurntable)
{
    HeadlessOgre::root();
    makeMesh("PreviewTestTile.mesh");
    PreviewScene preview(nullptr);
    preview.setupViewport();  // no target: nothing to draw into, no failure
    struct Case
    {
        int width, height;
        float x, z;
    };
    const Case cases[] = {{1, 1, 0, 0}, {3, 2, -3, -1.5f}, {2, 2, -1.5f, -1.5f}, {1, 3, 0, -3}};
    for (const Case& c : cases)
    {
        const Ogre::Vector2 offset = PreviewScene::modelOffset(c.width, c.height);
        EXPECT_FLOAT_EQ(offset.x, c.x) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(offset.y, c.z) << c.width << "x" << c.height;
        preview.showEntity("PreviewTestTile.mesh", offset.x, offset.y);
        ASSERT_NE(preview.getEntity(), nullptr);
        // The name is reused, so the earlier model is gone.
        EXPECT_EQ(preview.getEntity()->getName(), "PreviewEntity");
        EXPECT_EQ(preview.getEntity()->getParentSceneNode(), node(preview, "Model_Node"));
        EXPECT_EQ(node(preview, "Model_Node")->getPosition(), Ogre::Vector3(c.x, 0, c.z));
        EXPECT_EQ(node(preview, "Model_Node")->numAttachedObjects(), 1u);
    }
    preview.showEntity("", 0, 0);
    EXPECT_EQ(preview.getEntity(), nullptr);
    EXPECT_EQ(node(preview, "Model_Node")->numAttachedObjects(), 0u);
}

TEST(PreviewScene, TurntableTurnsSixtyDegreesASecondWithTheGround)
{
    HeadlessOgre::root();
    PreviewScene preview(nullptr);
    Ogre::SceneNode* turntable = node(preview, "Rotation_Node");
    EXPECT_EQ(node(preview, "Terrain_Node")->getParentSceneNode(), turntable);
    EXPECT_EQ(node(preview, "Model_Node")->getParentSceneNode(), turntable);
    preview.rotate(1.5f);
    EXPECT_TRUE(turntable->getOrientation().equals(Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y),
                                                   Ogre::Degree(0.01f)));
    preview.rotate(0.5f);
    preview.rotate(1.0f);
    EXPECT_TRUE(turntable->getOrientation().equals(Ogre::Quaternion(Ogre::Degree(180), Ogre::Vector3::UNIT_Y),
                                                   Ogre::Degree(0.01f)));
    // The camera looks down at the centre from (0, 6, 6).
    Ogre::SceneNode* eye = node(preview, "Preview_Cam_Position");
    EXPECT_EQ(eye->getPosition(), Ogre::Vector3(0, 6, 6));
}

TEST(PreviewScene, AnUnknownMeshShowsNothingAndSaysSo)
{
    HeadlessOgre::root();
    makeMesh("PreviewTestTile.mesh");
    LogCatcher log;
    Ogre::LogManager::getSingleton().getDefaultLog()->addListener(&log);
    PreviewScene preview(nullptr);
    preview.showEntity("PreviewTestTile.mesh", 0, 0);
    preview.showEntity("NoSuchTile.mesh", 0, 0);
    Ogre::LogManager::getSingleton().getDefaultLog()->removeListener(&log);
    EXPECT_EQ(preview.getEntity(), nullptr);
    EXPECT_EQ(node(preview, "Model_Node")->numAttachedObjects(), 0u);
    EXPECT_NE(log.lines.find("no model for mesh 'NoSuchTile.mesh'"), std::string::npos) << log.lines;
    // The preview still works afterwards.
    preview.showEntity("PreviewTestTile.mesh", 0, 0);
    EXPECT_NE(preview.getEntity(), nullptr);
}
