// The wrapper's shape family: a shape hands out the description its actor is built from.
#pragma once

#include "platform/physics/NxShapeDesc.h"
#include "platform/physics/pose.h"

namespace nxOgre
{

// Shape type codes of the wrapper.
constexpr int kShapeTypeConvex = 5;
constexpr int kShapeTypeMesh = 7;

class shape
{
public:
    explicit shape(int typeCode) : type(typeCode) {}
    virtual ~shape() = default;

    int getType() const { return type; }
    // Where the shape sits in its actor.
    virtual pose getOffset() const { return offset; }
    virtual const char* getShapeAsString() const = 0;
    // The description an actor is built from; null when the shape failed to build.
    virtual const NxShapeDesc* getDescription() const = 0;
    // Set when building the shape failed (cooking a mesh, for instance).
    bool hasFailed() const { return failed; }

protected:
    void setFailed() { failed = true; }
    pose offset;

private:
    int type;
    bool failed = false;
};

}
