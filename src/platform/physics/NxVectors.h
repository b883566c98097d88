// The physics layer's own small value types for what the game hands in and reads out:
// a vector, a rotation and a pose. They convert to and from Bullet's types, so that the
// layer's functions take and give them while the game never names Bullet.
#pragma once

class btQuaternion;
class btTransform;
class btVector3;

namespace nxOgre
{

struct NxVec3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    NxVec3() = default;
    NxVec3(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}
    NxVec3(const btVector3& v);  // implicit both ways, as the layer still speaks Bullet inside
    operator btVector3() const;
};

// A unit rotation quaternion, w first.
struct NxQuat
{
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    NxQuat() = default;
    NxQuat(float qw, float qx, float qy, float qz) : w(qw), x(qx), y(qy), z(qz) {}
    NxQuat(const btQuaternion& q);
    operator btQuaternion() const;
};

// A rigid placement: the rotation applied first, then the translation.
struct NxPose
{
    NxVec3 position;
    NxQuat orientation;

    NxPose() = default;
    NxPose(const NxVec3& at, const NxQuat& turn) : position(at), orientation(turn) {}
    NxPose(const btTransform& t);
    operator btTransform() const;
};

}
