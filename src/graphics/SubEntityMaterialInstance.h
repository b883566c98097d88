// The fading clone of one sub-entity's material; gives the sub-entity its base material
// back when destroyed (the entity must still exist then).
#pragma once

#include "graphics/MaterialInstance.h"

#include <string>

namespace Ogre
{
class SubEntity;
}

class SubEntityMaterialInstance : public MaterialInstance
{
public:
    explicit SubEntityMaterialInstance(Ogre::SubEntity* subEntity);
    ~SubEntityMaterialInstance() override;

    // Shows the clone while the transparency is above 0, else the base material.
    void setTransparency(float transparency);
    // Makes the named material the new base, cloning it again if the object is faded.
    void setMaterialName(const std::string& name);

protected:
    void initOriginalMaterial() override;

private:
    Ogre::SubEntity* subEntity;  // not owned
};
