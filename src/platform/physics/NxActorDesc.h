// What an actor is made of: its shapes (borrowed), whether it moves, its mass, pose and groups.
#pragma once

#include "platform/physics/NxShapeDesc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nxOgre
{

using NxActorGroup = std::uint16_t;
// Shape groups run from 0 to 31; a ray's group word has one bit per group.
constexpr unsigned kShapeGroupCount = 32;

struct NxActorDesc
{
    std::vector<const NxShapeDesc*> shapes;  // borrowed: must live until the actor is created
    bool dynamic = false;                    // false: a static actor that never moves
    float mass = 0.0f;                       // kg, for dynamic actors
    btTransform globalPose = btTransform::getIdentity();
    NxActorGroup group = 0;
    unsigned shapeGroup = 0;                 // 0..31, tested by ray casts' group words
    std::string name;
};

}
