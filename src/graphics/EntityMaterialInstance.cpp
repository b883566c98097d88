// Fading clones of a whole entity.
#include "graphics/EntityMaterialInstance.h"

#include <OGRE/OgreEntity.h>

#include <algorithm>

EntityMaterialInstance::EntityMaterialInstance(Ogre::Entity* entity)
{
    for (std::size_t i = 0; i < entity->getNumSubEntities(); ++i)
        instances.push_back(std::make_unique<SubEntityMaterialInstance>(entity->getSubEntity(i)));
}

EntityMaterialInstance::~EntityMaterialInstance()
{
    // In order, as they were made.
    for (auto& instance : instances)
        instance.reset();
}

void EntityMaterialInstance::setTransparency(float value)
{
    transparency = std::max(0.0f, std::min(value, 1.0f));
    for (auto& instance : instances)
        instance->setTransparency(transparency);
}

void EntityMaterialInstance::setSceneBlending(Ogre::SceneBlendType blendType)
{
    for (auto& instance : instances)
        instance->setSceneBlending(blendType);
}

void EntityMaterialInstance::setMaterialName(const std::string& name)
{
    for (auto& instance : instances)
        instance->setMaterialName(name);
}
