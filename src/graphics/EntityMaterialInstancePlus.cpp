// Colour-scaled clones of a whole entity.
#include "graphics/EntityMaterialInstancePlus.h"

#include <OGRE/OgreEntity.h>

EntityMaterialInstancePlus::EntityMaterialInstancePlus(const std::string& prefix, Ogre::Entity* entity)
{
    for (std::size_t i = 0; i < entity->getNumSubEntities(); ++i)
        instances.push_back(std::make_unique<SubEntityMaterialInstancePlus>(prefix, entity->getSubEntity(i)));
}

EntityMaterialInstancePlus::~EntityMaterialInstancePlus()
{
    for (auto& instance : instances)
        instance.reset();
}

void EntityMaterialInstancePlus::setSpecular(float factor)
{
    for (auto& instance : instances)
        instance->setSpecular(factor);
}

void EntityMaterialInstancePlus::setDiffuse(float factor)
{
    for (auto& instance : instances)
        instance->setDiffuse(factor);
}

void EntityMaterialInstancePlus::setAmbient(float factor)
{
    for (auto& instance : instances)
        instance->setAmbient(factor);
}
