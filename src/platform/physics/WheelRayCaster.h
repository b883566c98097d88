// The one question a wheel asks of the world: what lies along this ray? A fake ground in
// tests answers it as well as the physics scene does.
#pragma once

#include "platform/physics/material.h"

#include <LinearMath/btVector3.h>

class btCollisionObject;
class btRigidBody;

namespace nxOgre
{

class NxActor;

struct WheelRayHit
{
    bool hit = false;
    float fraction = 1.0f;  // of the way from the start to the end
    btVector3 point{0, 0, 0};
    btVector3 normal{0, 1, 0};
    NxActor* actor = nullptr;           // the touched actor, when it is one of ours
    btRigidBody* movingGround = nullptr;  // the touched body when it moves, else null
    NxMaterialIndex materialIndex = 0;
};

class WheelRayCaster
{
public:
    virtual ~WheelRayCaster() = default;
    // The closest hit between from and to, ignoring the object exclude.
    virtual WheelRayHit castWheelRay(const btVector3& from, const btVector3& to, const btCollisionObject* exclude) = 0;
    // Around one car's casts in a step: the box holds all its wheel rays, so a caster may
    // gather what lies there once instead of searching the whole world for every ray.
    virtual void beginWheelRays(const btVector3& boxMin, const btVector3& boxMax) { (void)boxMin, (void)boxMax; }
    virtual void endWheelRays() {}
};

}
