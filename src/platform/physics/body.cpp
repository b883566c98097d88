// Bodies: named dynamic actors.
#include "platform/physics/body.h"

namespace nxOgre
{

body::body(const std::string& name, NxActor& nxActor) : bodyName(name), actor(nxActor)
{
    previousPose = actor.getGlobalPose();
    actor.userData = this;
}

void body::setGlobalPosition(const btVector3& position)
{
    btTransform pose = actor.getGlobalPose();
    pose.setOrigin(position);
    actor.setGlobalPose(pose);
    previousPose = pose;  // a teleport is not blended
}

void body::setGlobalOrientation(const btQuaternion& orientation)
{
    btTransform pose = actor.getGlobalPose();
    pose.setRotation(orientation);
    actor.setGlobalPose(pose);
    previousPose = pose;
}

btTransform body::getInterpolatedPose(float alpha) const
{
    const btTransform current = actor.getGlobalPose();
    btTransform blended;
    blended.setOrigin(previousPose.getOrigin().lerp(current.getOrigin(), alpha));
    blended.setRotation(previousPose.getRotation().slerp(current.getRotation(), alpha));
    return blended;
}

}
