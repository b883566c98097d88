// One kind of tree a terrain grows: its entity and mesh, and the trunk the car hits.
#pragma once

#include <string>

struct TreeKind
{
    enum class Trunk
    {
        Box,      // square, trunkRadius half as wide
        Capsule,  // round
    };

    std::string entityName;
    std::string mesh;
    Trunk trunk = Trunk::Capsule;
    float trunkRadius = 0.2f;  // world units at scale 1
    float trunkHeight = 4.0f;  // from the ground up, at scale 1
    bool castShadows = true;
};
