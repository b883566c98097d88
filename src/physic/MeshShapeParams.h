// The parameter block handed with an entity to a triangle-mesh shape: the scale applied
// to its vertices, and five flags that belong to the callers.
#pragma once

#include <OGRE/OgreVector.h>

struct MeshShapeParams
{
    bool flags[5] = {false, false, false, false, false};
    Ogre::Vector3 scale{1.0f, 1.0f, 1.0f};
};
