// The colour-scaled clone of one sub-entity's material, shown from construction on; the
// sub-entity gets its base material back when this goes (the entity must still exist).
#pragma once

#include "graphics/MaterialInstancePlus.h"

#include <string>

namespace Ogre
{
class SubEntity;
}

class SubEntityMaterialInstancePlus : public MaterialInstancePlus
{
public:
    SubEntityMaterialInstancePlus(const std::string& prefix, Ogre::SubEntity* subEntity);
    ~SubEntityMaterialInstancePlus() override;

protected:
    void initOriginalMaterial() override;

private:
    Ogre::SubEntity* subEntity;  // not owned
};
