// Fading clones for every sub-entity of one entity (the ghost car's body and wheels).
// Deleting it gives every sub-entity its material back and removes the clones.
#pragma once

#include "graphics/SubEntityMaterialInstance.h"

#include <OGRE/OgreBlendMode.h>

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Entity;
}

class EntityMaterialInstance
{
public:
    explicit EntityMaterialInstance(Ogre::Entity* entity);
    ~EntityMaterialInstance();

    // Clamped to 0 … 1, then passed to every sub-entity in order.
    void setTransparency(float transparency);
    void setSceneBlending(Ogre::SceneBlendType blendType);
    void setMaterialName(const std::string& name);

    float getTransparency() const { return transparency; }
    // One per sub-entity, in sub-entity order.
    const std::vector<std::unique_ptr<SubEntityMaterialInstance>>& getInstances() const { return instances; }

private:
    std::vector<std::unique_ptr<SubEntityMaterialInstance>> instances;
    float transparency = 0.0f;
};
