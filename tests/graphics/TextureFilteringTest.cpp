// Whole-material texture filtering: every unit of every pass takes it, and switching
// anisotropy off leaves no degree behind that GL would still sample with.
#include "graphics/TextureFiltering.h"

#include "HeadlessOgre.h"

#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureManager.h>
#include <OGRE/OgreTextureUnitState.h>

#include <gtest/gtest.h>

namespace
{
// Two passes of two units each, the first unit already anisotropic as a script can make it.
Ogre::MaterialPtr twoPassMaterial(const std::string& name)
{
    HeadlessOgre::root();
    if (!Ogre::TextureManager::getSingletonPtr())
        new Ogre::DefaultTextureManager();  // lives as long as the headless engine
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, Ogre::RGN_DEFAULT);
    Ogre::Technique* technique = material->getTechnique(0);
    for (Ogre::Pass* pass : {technique->getPass(0), technique->createPass()})
    {
        Ogre::TextureUnitState* first = pass->createTextureUnitState();
        first->setTextureFiltering(Ogre::TFO_ANISOTROPIC);
        first->setTextureAnisotropy(16);
        pass->createTextureUnitState();
    }
    return material;
}

TEST(TextureFiltering, EveryUnitTakesTheDegreeOrTrilinearWithAnisotropyOff)
{
    struct Case
    {
        unsigned degree;
        Ogre::FilterOptions minification, mip;
        unsigned anisotropy;
    };
    const Case cases[] = {
        {8, Ogre::FO_ANISOTROPIC, Ogre::FO_LINEAR, 8},
        {2, Ogre::FO_ANISOTROPIC, Ogre::FO_LINEAR, 2},
        {1, Ogre::FO_LINEAR, Ogre::FO_LINEAR, 1},
        {0, Ogre::FO_LINEAR, Ogre::FO_LINEAR, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.degree);
        Ogre::MaterialPtr material = twoPassMaterial("Filtering" + std::to_string(c.degree));
        applyTextureFiltering(*material, c.degree);
        for (Ogre::Pass* pass : material->getTechnique(0)->getPasses())
            for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
            {
                EXPECT_EQ(unit->getTextureFiltering(Ogre::FT_MIN), c.minification);
                EXPECT_EQ(unit->getTextureFiltering(Ogre::FT_MIP), c.mip);
                EXPECT_EQ(unit->getTextureAnisotropy(), c.anisotropy);
            }
        Ogre::MaterialManager::getSingleton().remove(material);
    }
}
}
