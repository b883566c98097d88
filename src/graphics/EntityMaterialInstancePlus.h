// Colour-scaled clones for every sub-entity of one entity (the player's chassis, shaded
// by the car's shade value). Deleting it restores the materials and removes the clones.
#pragma once

#include "graphics/SubEntityMaterialInstancePlus.h"

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Entity;
}

class EntityMaterialInstancePlus
{
public:
    // The car passes its name followed by "ShadowMaterial" as the prefix.
    EntityMaterialInstancePlus(const std::string& prefix, Ogre::Entity* entity);
    ~EntityMaterialInstancePlus();

    void setSpecular(float factor);
    void setDiffuse(float factor);
    void setAmbient(float factor);

    // One per sub-entity, in sub-entity order.
    const std::vector<std::unique_ptr<SubEntityMaterialInstancePlus>>& getInstances() const { return instances; }

private:
    std::vector<std::unique_ptr<SubEntityMaterialInstancePlus>> instances;
};
