// A static triangle-mesh collision shape built from a 3D-engine entity's mesh, one physics
// material per sub-mesh (found by the sub-mesh's material name).
#pragma once

#include "physic/MeshShapeParams.h"
#include "platform/physics/scene.h"
#include "platform/physics/shape.h"

#include <OGRE/OgreMesh.h>
#include <OGRE/OgreVector.h>

#include <functional>
#include <string>

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
    // Maps each vertex of the mesh through place instead of copying the mesh first: a placed
    // track tile reads its type's shared mesh. owner names the shape in the physics log.
    using PlaceVertex = std::function<Ogre::Vector3(const Ogre::Vector3&)>;
    meshShapeSR(const Ogre::MeshPtr& mesh, const std::string& owner, scene* physicsScene, bool smooth,
                const PlaceVertex& place);
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
