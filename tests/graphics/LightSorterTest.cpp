// The fixed light list: every listened object gets the shadow light, then the sun.
#include "graphics/DynamicQuads.h"
#include "graphics/LightSorter.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

TEST(LightSorter, EveryObjectGetsTheShadowLightThenTheSun)
{
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    Ogre::Light* sun = scene->createLight(LightSorter::kSunLightName);
    scene->createLight("nearerLamp");
    Ogre::Light* shadow = scene->createLight(LightSorter::kShadowLightName);
    {
        LightSorter sorter(scene);
        DynamicQuads chassis(Ogre::RenderOperation::OT_TRIANGLE_STRIP);
        DynamicQuads wheel(Ogre::RenderOperation::OT_TRIANGLE_STRIP);
        for (DynamicQuads* object : {&chassis, &wheel})
        {
            scene->getRootSceneNode()->attachObject(object);
            object->setListener(&sorter);
            const Ogre::LightList& lights = object->queryLights();
            ASSERT_EQ(lights.size(), 2u);
            EXPECT_EQ(lights[0], shadow);
            EXPECT_EQ(lights[1], sun);
            scene->getRootSceneNode()->detachObject(object);
            object->setListener(nullptr);
        }
    }
    Ogre::Root::getSingleton().destroySceneManager(scene);
}

TEST(LightSorter, AMissingLightIsTheEnginesError)
{
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    scene->createLight(LightSorter::kShadowLightName);
    EXPECT_THROW(LightSorter sorter(scene), Ogre::ItemIdentityException);
    Ogre::Root::getSingleton().destroySceneManager(scene);
}
