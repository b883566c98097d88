// The texture shadows' reach: which boxes can receive a straight-down light's shadow texture
// about the camera, and objects moved between the main queue and the queue without shadows
// as the camera goes, the sky's queue left alone.
#include "graphics/ShadowReceiverRange.h"

#include "HeadlessOgre.h"

#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreRenderQueueSortingGrouping.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
TEST(ShadowReceiverRange, ReachCoversTheTextureSquareAheadOfTheCamera)
{
    // Far distance 15, the engine's offset 0.6: the square's centre 9 ahead, its corners 15√2 further.
    const float reach = ShadowReceiverRange::reach(15.0f, 0.6f);
    EXPECT_GE(reach, 9.0f + 15.0f * std::sqrt(2.0f));
    EXPECT_LT(reach, 60.0f) << "the far terrain must fall outside";
}

TEST(ShadowReceiverRange, BoxesWithinTheReachInTheGroundPlane)
{
    struct Case
    {
        const char* what;
        Ogre::AxisAlignedBox box;
        bool within;
    };
    const Ogre::Vector3 eye(100, 50, 100);
    const float reach = 30.0f;
    const Case cases[] = {
        {"around the eye", {90, 0, 90, 110, 10, 110}, true},
        {"a terrain tile the eye stands over", {0, -5, 0, 768, 60, 768}, true},
        {"far below, straight under the eye", {95, -500, 95, 105, -400, 105}, true},
        {"just inside along x", {129, 0, 95, 140, 1, 105}, true},
        {"just outside along x", {131, 0, 95, 140, 1, 105}, false},
        {"outside on the diagonal though within along each axis", {122, 0, 122, 130, 1, 130}, false},
        {"behind, within", {75, 0, 80, 80, 1, 85}, true},
        {"the next terrain tile", {768, -5, 0, 1536, 60, 768}, false},
        {"an empty box", Ogre::AxisAlignedBox::BOX_NULL, false},
        {"an infinite box", Ogre::AxisAlignedBox::BOX_INFINITE, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShadowReceiverRange::isWithin(c.box, eye, reach), c.within) << c.what;
}

// A one-triangle object at a place in the scene.
Ogre::ManualObject* triangleAt(Ogre::SceneManager* scene, const std::string& name, const Ogre::Vector3& at)
{
    Ogre::ManualObject* object = scene->createManualObject(name);
    object->begin("BaseWhiteNoLighting", Ogre::RenderOperation::OT_TRIANGLE_LIST);
    object->position(0, 0, 0);
    object->position(1, 0, 0);
    object->position(0, 0, 1);
    object->end();
    scene->getRootSceneNode()->createChildSceneNode(at)->attachObject(object);
    return object;
}

TEST(ShadowReceiverRange, ObjectsChangeQueueAsTheCameraMovesAndOthersKeepTheirs)
{
    HeadlessOgre::root();
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    scene->setShadowFarDistance(15.0f);
    ShadowReceiverRange range(scene);
    EXPECT_FALSE(scene->getRenderQueue()->getQueueGroup(ShadowReceiverRange::kFarQueue)->getShadowsEnabled());
    Ogre::ManualObject* near = triangleAt(scene, "near", Ogre::Vector3(0, 0, 0));
    Ogre::ManualObject* far = triangleAt(scene, "far", Ogre::Vector3(500, 0, 0));
    Ogre::ManualObject* sky = triangleAt(scene, "sky", Ogre::Vector3(500, 0, 0));
    sky->setRenderQueueGroup(Ogre::RENDER_QUEUE_SKIES_EARLY);
    for (Ogre::ManualObject* object : {near, far, sky})
        range.add(object);

    range.update(Ogre::Vector3(0, 5, 0));
    EXPECT_EQ(near->getRenderQueueGroup(), ShadowReceiverRange::kNearQueue);
    EXPECT_EQ(far->getRenderQueueGroup(), ShadowReceiverRange::kFarQueue);
    range.update(Ogre::Vector3(500, 5, 0));
    EXPECT_EQ(near->getRenderQueueGroup(), ShadowReceiverRange::kFarQueue);
    EXPECT_EQ(far->getRenderQueueGroup(), ShadowReceiverRange::kNearQueue);
    EXPECT_EQ(sky->getRenderQueueGroup(), Ogre::RENDER_QUEUE_SKIES_EARLY);

    range.clear();
    HeadlessOgre::root().destroySceneManager(scene);
}
// A page of far trees is destroyed while the race goes on: the range must not touch it again.
TEST(ShadowReceiverRange, AnObjectDestroyedWhileHeldIsDroppedAndListenersAreLeftAsFound)
{
    HeadlessOgre::root();
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    scene->setShadowFarDistance(15.0f);
    Ogre::MovableObject::Listener ownListener;
    Ogre::ManualObject* kept = triangleAt(scene, "kept", Ogre::Vector3(0, 0, 0));
    Ogre::ManualObject* listened = triangleAt(scene, "listened", Ogre::Vector3(500, 0, 0));
    listened->setListener(&ownListener);
    {
        ShadowReceiverRange range(scene);
        Ogre::ManualObject* page = triangleAt(scene, "page", Ogre::Vector3(500, 0, 0));
        for (Ogre::ManualObject* object : {kept, page, listened})
            range.add(object);
        EXPECT_EQ(range.size(), 2u);  // the object with a listener of its own is not taken

        scene->destroyManualObject(page);
        EXPECT_EQ(range.size(), 1u);
        range.update(Ogre::Vector3(500, 5, 0));  // would read the freed page
        EXPECT_EQ(kept->getRenderQueueGroup(), ShadowReceiverRange::kFarQueue);
        EXPECT_EQ(listened->getRenderQueueGroup(), ShadowReceiverRange::kNearQueue);
        EXPECT_EQ(listened->getListener(), &ownListener);
    }
    // Gone with the range: destroying the object later calls nobody.
    EXPECT_EQ(kept->getListener(), nullptr);
    EXPECT_EQ(listened->getListener(), &ownListener);
    listened->setListener(nullptr);
    HeadlessOgre::root().destroySceneManager(scene);
}
}
