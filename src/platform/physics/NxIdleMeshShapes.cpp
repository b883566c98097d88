// The idle triangle-mesh shapes of a scene and their triangle budget.
#include "platform/physics/NxIdleMeshShapes.h"

#include "platform/physics/NxTriangleMesh.h"

#include <cassert>

namespace nxOgre
{

NxIdleMeshShapes::NxIdleMeshShapes(std::size_t triangleBudget) : triangleBudget(triangleBudget)
{
}

NxIdleMeshShapes::~NxIdleMeshShapes()
{
    // A mesh outliving the scene must not point back at a list that is gone.
    while (!meshes.empty())
        freeOldest();
}

void NxIdleMeshShapes::setTriangleBudget(std::size_t budget)
{
    triangleBudget = budget;
    trim();
}

void NxIdleMeshShapes::add(NxTriangleMesh& mesh)
{
    assert(!mesh.idleIn && "a mesh waits in one list at a time");
    mesh.idlePlace = meshes.insert(meshes.end(), &mesh);
    mesh.idleIn = this;
    triangles += mesh.getTriangleCount();
    trim();
}

void NxIdleMeshShapes::remove(NxTriangleMesh& mesh)
{
    assert(mesh.idleIn == this);
    meshes.erase(mesh.idlePlace);
    mesh.idleIn = nullptr;
    triangles -= mesh.getTriangleCount();
}

void NxIdleMeshShapes::trim()
{
    while (triangles > triangleBudget && !meshes.empty())
        freeOldest();
}

void NxIdleMeshShapes::freeOldest()
{
    NxTriangleMesh& oldest = *meshes.front();
    remove(oldest);
    oldest.freeShape();
}

}
