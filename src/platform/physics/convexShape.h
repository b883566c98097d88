// A convex hull around a set of points, with a material and an offset in its actor.
#pragma once

#include "platform/physics/NxVectors.h"
#include "platform/physics/shape.h"

#include <vector>

namespace nxOgre
{

class convexShape : public shape
{
public:
    convexShape(const std::vector<NxVec3>& points, NxMaterialIndex materialIndex, const pose& at = pose());
    const char* getShapeAsString() const override { return "Convex"; }
    const NxShapeDesc* getDescription() const override { return hasFailed() ? nullptr : &description; }

private:
    NxConvexShapeDesc description;
};

}
