// How one lightmap is baked and how its material filters it, handed to the map when it is
// made, so that each bake says what it uses instead of reading shared state.
#pragma once

#include <OGRE/OgreVector.h>

struct LightMapBakeParameters
{
    // Towards the scene; not normalised, the rays use a normalised copy.
    Ogre::Vector3 lightDirection{0.1f, -1.0f, 0.1f};
    float surfaceOffset = 0.001f;  // world units the rays keep off the surface
    // Keeps, per shadowed texel, the height at which the first ray met the shadowing shape.
    bool recordHits = false;
    // Anisotropic filtering degree of the lightmapped material; 1 or less filters it trilinearly.
    unsigned anisotropy = 8;
};
