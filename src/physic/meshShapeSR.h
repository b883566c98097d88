// A static triangle-mesh collision shape built from a 3D-engine entity's mesh, one physics
// material per sub-mesh (found by the sub-mesh's material name).
#pragma once

#include "physic/MeshShapeParams.h"
#include "platform/physics/scene.h"
#include "platform/physics/shape.h"

namespace Ogre
{
class Entity;
}

namespace nxOgre
{

class meshShapeSR : public shape
{
public:
    // Builds the mesh; on failure (no triangles, bad indices) the shape is marked failed,
    // the reason written to the physics log, and it has no mesh.
    meshShapeSR(Ogre::Entity* entity, scene* physicsScene, bool smooth, const MeshShapeParams& params);
    // Shares the other shape's mesh.
    meshShapeSR(const meshShapeSR& other) = default;
    meshShapeSR& operator=(const meshShapeSR&) = delete;

    const char* getShapeAsString() const override { return "Mesh"; }
    const NxShapeDesc* getDescription() const override { return &description; }
    NxTriangleMeshShapeDesc& getShapeDescription() { return description; }
    // Lets go of the mesh; actors made from it keep their share until they are released.
    void releaseMesh() { description.meshData.reset(); }

private:
    NxTriangleMeshShapeDesc description;
};

}
