// A static triangle mesh ready for collision: vertices, triangles, one material index per
// triangle, and the Bullet bounding-volume tree over them while actors use it (and a while after).
#pragma once

#include "platform/physics/material.h"

#include <list>
#include <memory>
#include <vector>

class btBvhTriangleMeshShape;
class btTriangleIndexVertexArray;
struct btTriangleInfoMap;

namespace nxOgre
{

class NxIdleMeshShapes;

// What a mesh is built from; the arrays are copied.
struct NxTriangleMeshDesc
{
    std::vector<float> points;                     // x, y, z per vertex
    std::vector<std::uint32_t> triangles;          // three vertex indices per triangle
    std::vector<NxMaterialIndex> materialIndices;  // one per triangle, or empty
};

class NxTriangleMesh
{
public:
    // Fails (returns null, with the reason in error) on empty or out-of-range data.
    static std::shared_ptr<NxTriangleMesh> create(const NxTriangleMeshDesc& desc, std::string* error);
    ~NxTriangleMesh();
    NxTriangleMesh(const NxTriangleMesh&) = delete;
    NxTriangleMesh& operator=(const NxTriangleMesh&) = delete;

    std::size_t getVertexCount() const { return points.size() / 3; }
    std::size_t getTriangleCount() const { return triangles.size() / 3; }
    // The material of a triangle; 0 (the default material) when the mesh has none.
    NxMaterialIndex getTriangleMaterial(int triangle) const;
    const std::vector<float>& getPoints() const { return points; }
    const std::vector<std::uint32_t>& getTriangles() const { return triangles; }

    // The Bullet shape and its bounding-volume tree are built for the first actor that takes
    // them. When the last one gives them back they wait among the given idle shapes (the
    // scene's), which free them in their own time; taken back before, they are reused.
    btBvhTriangleMeshShape* acquireShape();
    void releaseShape(NxIdleMeshShapes& idleShapes);
    // Null while no actor holds the shape and it is not among the idle ones.
    btBvhTriangleMeshShape* getShape() const { return shape.get(); }
    // Builds, once while the shape is held, what contacts need to slide over inner edges
    // without catching on them. Nothing without a shape.
    void buildInternalEdgeInfo();
    bool hasInternalEdgeInfo() const { return edgeInfo != nullptr; }

private:
    friend class NxIdleMeshShapes;

    NxTriangleMesh() = default;
    void freeShape();
    void leaveIdle();

    std::vector<float> points;
    std::vector<std::uint32_t> triangles;
    std::vector<NxMaterialIndex> materials;
    std::unique_ptr<btTriangleIndexVertexArray> arrays;
    std::unique_ptr<btBvhTriangleMeshShape> shape;
    std::unique_ptr<btTriangleInfoMap> edgeInfo;
    int shapeUsers = 0;                   // actors holding the shape
    NxIdleMeshShapes* idleIn = nullptr;   // built, held by no actor, waiting there at idlePlace
    std::list<NxTriangleMesh*>::iterator idlePlace;
};

using NxTriangleMeshPtr = std::shared_ptr<NxTriangleMesh>;

}
