// The physics world of one race: the fixed-step loop, its listeners and the paged
// store of static collision shapes.
#pragma once

namespace Ogre
{
class Root;
}

class PhysicBase
{
public:
    // Whether a physics world can be created on this machine at all; never throws.
    static bool isPhysXAvailable(Ogre::Root* root);
    // For tests of the start-up: makes isPhysXAvailable answer false.
    static void simulateMissingRuntime(bool missing);

private:
    static bool runtimeMissing;
};
