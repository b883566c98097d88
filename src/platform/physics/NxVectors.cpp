// Conversions of the layer's value types to and from Bullet's.
#include "platform/physics/NxVectors.h"

#include <LinearMath/btTransform.h>

namespace nxOgre
{

NxVec3::NxVec3(const btVector3& v) : x(v.x()), y(v.y()), z(v.z()) {}

NxVec3::operator btVector3() const
{
    return btVector3(x, y, z);
}

NxQuat::NxQuat(const btQuaternion& q) : w(q.w()), x(q.x()), y(q.y()), z(q.z()) {}

NxQuat::operator btQuaternion() const
{
    return btQuaternion(x, y, z, w);
}

NxPose::NxPose(const btTransform& t) : position(t.getOrigin()), orientation(t.getRotation()) {}

NxPose::operator btTransform() const
{
    return btTransform(btQuaternion(orientation), btVector3(position));
}

}
