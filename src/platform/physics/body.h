// A named moving body of a scene: the wrapper's face of a dynamic actor, with the pose it
// had before the last step so that rendering can blend between steps.
#pragma once

#include "platform/physics/NxActor.h"

#include <functional>
#include <string>

namespace nxOgre
{

class body
{
public:
    body(const std::string& name, NxActor& actor);

    const std::string& getName() const { return bodyName; }
    NxActor* getNxActor() const { return &actor; }

    btVector3 getGlobalPosition() const { return actor.getGlobalPosition(); }
    btQuaternion getGlobalOrientation() const { return actor.getGlobalOrientationQuat(); }
    void setGlobalPosition(const btVector3& position);
    void setGlobalOrientation(const btQuaternion& orientation);
    void setLinearVelocity(const btVector3& velocity) { actor.setLinearVelocity(velocity); }
    void setAngularDamping(float damping) { actor.setAngularDamping(damping); }
    void addForce(const btVector3& force, NxForceMode mode = NX_FORCE) { actor.addForce(force, mode); }
    void wakeUp() { actor.wakeUp(); }
    bool isSleeping() const { return actor.isSleeping(); }
    void putToSleep() { actor.putToSleep(); }
    void freezeAll() { actor.freezeAll(true); }
    void unFreezeAll() { actor.freezeAll(false); }

    // Called by the scene before each step.
    void rememberPose() { previousPose = actor.getGlobalPose(); }
    // The pose blended from before the last step (alpha 0) to after it (alpha 1).
    btTransform getInterpolatedPose(float alpha) const;
    // Told the blended pose whenever the world renders; the game moves its scene node there.
    std::function<void(const btTransform&)> onRender;

private:
    std::string bodyName;
    NxActor& actor;
    btTransform previousPose;
};

}
