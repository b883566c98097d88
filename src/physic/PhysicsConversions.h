// The one crossing between the engine's vectors and rotations and the physics layer's.
#pragma once

#include "platform/physics/NxVectors.h"

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

inline Ogre::Vector3 toOgre(const nxOgre::NxVec3& v)
{
    return Ogre::Vector3(v.x, v.y, v.z);
}

inline Ogre::Quaternion toOgre(const nxOgre::NxQuat& q)
{
    return Ogre::Quaternion(q.w, q.x, q.y, q.z);
}

inline nxOgre::NxVec3 toPhysics(const Ogre::Vector3& v)
{
    return nxOgre::NxVec3(v.x, v.y, v.z);
}

inline nxOgre::NxQuat toPhysics(const Ogre::Quaternion& q)
{
    return nxOgre::NxQuat(q.w, q.x, q.y, q.z);
}

// A point given in a pose's frame, in the frame the pose is given in.
inline Ogre::Vector3 toWorld(const nxOgre::NxPose& pose, const Ogre::Vector3& local)
{
    return toOgre(pose.orientation) * local + toOgre(pose.position);
}
