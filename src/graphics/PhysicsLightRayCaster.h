// Light rays through the physics scene of a race: every shape kind, every shape group.
#pragma once

#include "graphics/LightRayCaster.h"

class PhysicBase;

class PhysicsLightRayCaster : public LightRayCaster
{
public:
    // physics is borrowed; its scene must exist while rays are cast.
    explicit PhysicsLightRayCaster(PhysicBase* physics) : physics(physics) {}

    bool castRay(const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length,
                 Ogre::Vector3* impact) override;

private:
    PhysicBase* physics;
};
