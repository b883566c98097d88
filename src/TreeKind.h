// One kind of tree a terrain grows: its entity and mesh, and what the car hits.
#pragma once

#include <string>

struct TreeKind
{
    enum class Collider
    {
        Box,      // the broad-leaf trunk, upright and square
        Capsule,  // a pine's trunk, upright and round
        Mesh,     // the tree's own triangles (the palms)
    };

    std::string entityName;
    std::string mesh;
    Collider collider = Collider::Capsule;
    bool castShadows = true;
};
