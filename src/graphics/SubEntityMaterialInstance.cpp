// A sub-entity's fading clone.
#include "graphics/SubEntityMaterialInstance.h"

#include "graphics/MaterialCloning.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreSubEntity.h>

SubEntityMaterialInstance::SubEntityMaterialInstance(Ogre::SubEntity* subEntity) : subEntity(subEntity)
{
    initOriginalMaterial();
}

SubEntityMaterialInstance::~SubEntityMaterialInstance()
{
    subEntity->setMaterialName(base->getName(), base->getGroup());
}

void SubEntityMaterialInstance::initOriginalMaterial()
{
    base = MaterialCloning::materialOf(*subEntity);
}

void SubEntityMaterialInstance::setTransparency(float value)
{
    MaterialInstance::setTransparency(value);
    const Ogre::MaterialPtr& shown = transparency > 0.0f ? copy : base;
    subEntity->setMaterialName(shown->getName(), shown->getGroup());
}

void SubEntityMaterialInstance::setMaterialName(const std::string& name)
{
    clearCopy();
    subEntity->setMaterialName(name);
    initOriginalMaterial();
    setTransparency(transparency);
}
