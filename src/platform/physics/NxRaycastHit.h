// Rays and what they hit.
#pragma once

#include "platform/physics/material.h"

#include <LinearMath/btVector3.h>

namespace nxOgre
{

class NxActor;
struct NxShapeDesc;

struct NxRay
{
    btVector3 orig{0, 0, 0};
    btVector3 dir{0, -1, 0};  // need not be unit length
};

// Which shapes a ray may hit.
enum NxShapesType
{
    NX_STATIC_SHAPES = 1,
    NX_DYNAMIC_SHAPES = 2,
    NX_ALL_SHAPES = 3,
};

// All 32 shape groups.
constexpr unsigned kAllShapeGroups = 0xffffffffu;

struct NxRaycastHit
{
    NxActor* actor = nullptr;
    const NxShapeDesc* shape = nullptr;  // the actor's shape that was hit
    int shapeIndex = -1;                 // its place among the actor's shapes
    int faceID = -1;                     // the triangle, on triangle meshes
    btVector3 worldImpact{0, 0, 0};
    btVector3 worldNormal{0, 0, 0};
    float distance = 0.0f;
    NxMaterialIndex materialIndex = 0;
};

}
