// A position and an orientation, the wrapper's way of placing things.
#pragma once

#include <LinearMath/btTransform.h>

namespace nxOgre
{

struct pose
{
    btVector3 position{0, 0, 0};
    btQuaternion orientation = btQuaternion::getIdentity();

    pose() = default;
    explicit pose(const btVector3& at, const btQuaternion& turn = btQuaternion::getIdentity())
        : position(at), orientation(turn)
    {
    }
    btTransform toTransform() const { return btTransform(orientation, position); }
};

}
