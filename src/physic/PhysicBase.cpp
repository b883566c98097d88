// The physics world of one race on our Bullet layer.
#include "physic/PhysicBase.h"

#include <btBulletDynamicsCommon.h>

#include <memory>

bool PhysicBase::runtimeMissing = false;

bool PhysicBase::isPhysXAvailable(Ogre::Root* /*root*/)
{
    if (runtimeMissing)
        return false;
    try
    {
        // The cheapest proof that the physics library is usable: make a world and drop it.
        btDefaultCollisionConfiguration configuration;
        btCollisionDispatcher dispatcher(&configuration);
        btDbvtBroadphase broadphase;
        btSequentialImpulseConstraintSolver solver;
        btDiscreteDynamicsWorld world(&dispatcher, &broadphase, &solver, &configuration);
        return true;
    }
    catch (...)
    {
        return false;
    }
}

void PhysicBase::simulateMissingRuntime(bool missing)
{
    runtimeMissing = missing;
}
