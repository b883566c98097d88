// Engine-side pieces of the frame that need no window: the statistics captions and the
// screen-to-world projections of a camera.
#include "DebugOverlay.h"
#include "HeadlessOgre.h"
#include "ScreenProjection.h"

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayContainer.h>
#include <OGRE/Overlay/OgreOverlayManager.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>
#include <gtest/gtest.h>

namespace
{
Ogre::OverlaySystem* overlaySystem()
{
    HeadlessOgre::root();
    static Ogre::OverlaySystem* system = new Ogre::OverlaySystem();
    return system;
}

// The statistics overlay as our overlay script makes it: a panel with five text areas.
void createStatisticsOverlay()
{
    overlaySystem();
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    if (overlays.getByName("Core/DebugOverlay"))
        return;
    Ogre::Overlay* overlay = overlays.create("Core/DebugOverlay");
    auto* panel = static_cast<Ogre::OverlayContainer*>(overlays.createOverlayElement("Panel", "Core/StatPanel"));
    for (const char* name : {"Core/CurrFps", "Core/AverageFps", "Core/BestFps", "Core/WorstFps", "Core/NumTris"})
        panel->addChild(overlays.createOverlayElement("TextArea", name));
    overlay->add2D(panel);
}

std::string caption(const char* element)
{
    return Ogre::OverlayManager::getSingleton().getOverlayElement(element)->getCaption();
}
}

TEST(DebugOverlayTest, CaptionsFromTheFrameStatistics)
{
    createStatisticsOverlay();
    DebugOverlay statistics;
    Ogre::RenderTarget::FrameStats stats{};
    stats.lastFPS = 59.94f;
    stats.avgFPS = 60.0f;
    stats.bestFPS = 61.5f;
    stats.worstFPS = 30.25f;
    stats.bestFrameTime = 16;
    stats.worstFrameTime = 33;
    stats.triangleCount = 12345;
    statistics.update(stats);  // hidden: the captions are still set
    EXPECT_FALSE(statistics.isVisible());
    EXPECT_EQ("Current FPS: 59.94", caption("Core/CurrFps"));
    EXPECT_EQ("Average FPS: 60", caption("Core/AverageFps"));
    EXPECT_EQ("Best FPS: 61.5 16 ms", caption("Core/BestFps"));
    EXPECT_EQ("Worst FPS: 30.25 33 ms", caption("Core/WorstFps"));
    EXPECT_EQ("Triangle Count: 12345", caption("Core/NumTris"));

    statistics.setVisible(true);
    EXPECT_TRUE(statistics.isVisible());
    statistics.setVisible(false);
    EXPECT_FALSE(statistics.isVisible());
}

TEST(DebugOverlayTest, WithoutTheOverlayShowingDoesNothing)
{
    overlaySystem();
    Ogre::OverlayManager::getSingleton().destroy("Core/DebugOverlay");
    DebugOverlay statistics;
    statistics.setVisible(true);
    EXPECT_FALSE(statistics.isVisible());
}

TEST(ScreenProjectionTest, OrthographicGuiCamera)
{
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    Ogre::Camera* camera = scene->createCamera("Default_Camera");
    camera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    camera->setNearClipDistance(1);
    camera->setFarClipDistance(100);
    camera->setAspectRatio(4.0f / 3.0f);
    Ogre::SceneNode* node = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 0, 10));
    node->attachObject(camera);

    const Ogre::Vector3 centre = screenPointToWorld(*camera, Ogre::Vector2(0.5f, 0.5f));
    EXPECT_NEAR(0.0f, centre.x, 1e-5f);
    EXPECT_NEAR(0.0f, centre.y, 1e-5f);
    EXPECT_EQ(Ogre::Vector3::ZERO, screenExtentToWorld(*camera, Ogre::Vector2(0, 0)));

    const Ogre::Vector3 extent = screenExtentToWorld(*camera, Ogre::Vector2(1, 1));
    EXPECT_LT(extent.y, 0.0f) << "screen y runs down, world y up";
    EXPECT_NEAR(4.0f / 3.0f, extent.x / std::fabs(extent.y), 1e-4f);

    // The top-left corner lies half an extent left of and above the centre.
    const Ogre::Vector3 corner = screenPointToWorld(*camera, Ogre::Vector2(0, 0));
    EXPECT_NEAR(-extent.x / 2, corner.x, 1e-4f);
    EXPECT_NEAR(-extent.y / 2, corner.y, 1e-4f);
    HeadlessOgre::root().destroySceneManager(scene);
}
