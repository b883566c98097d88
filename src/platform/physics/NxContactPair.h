// One pair of actors in contact after a step, as handed to contact reporters.
#pragma once

#include <LinearMath/btVector3.h>

#include <vector>

namespace nxOgre
{

class NxActor;

struct NxContactPoint
{
    btVector3 point{0, 0, 0};
    btVector3 normal{0, 0, 0};  // pointing from the second actor to the first
    float separation = 0.0f;    // negative when the shapes overlap
    int shapeIndex[2] = {-1, -1};
    bool isWheel[2] = {false, false};  // our wheels are rays: never part of a contact
};

struct NxContactPair
{
    NxActor* actors[2] = {nullptr, nullptr};
    // Sum of the contact impulses of the step divided by the step: the push on the first actor.
    btVector3 sumNormalForce{0, 0, 0};
    btVector3 sumFrictionForce{0, 0, 0};
    std::vector<NxContactPoint> points;
};

}
