// A sub-entity's colour-scaled clone.
#include "graphics/SubEntityMaterialInstancePlus.h"

#include "graphics/MaterialCloning.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreSubEntity.h>

SubEntityMaterialInstancePlus::SubEntityMaterialInstancePlus(const std::string& prefix, Ogre::SubEntity* subEntity)
    : MaterialInstancePlus(prefix), subEntity(subEntity)
{
    initOriginalMaterial();
    createCopy();
    subEntity->setMaterialName(copy->getName(), copy->getGroup());
}

SubEntityMaterialInstancePlus::~SubEntityMaterialInstancePlus()
{
    subEntity->setMaterialName(base->getName(), base->getGroup());
}

void SubEntityMaterialInstancePlus::initOriginalMaterial()
{
    base = MaterialCloning::materialOf(*subEntity);
}
