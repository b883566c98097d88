// The Bullet shapes of triangle meshes that no actor holds any more, kept a while: a car
// driving to and fro over a cell border should not have the same trees rebuilt every time.
#pragma once

#include <cstddef>
#include <list>

namespace nxOgre
{

class NxTriangleMesh;

// A scene keeps one for its actors' meshes. The longest idle shapes are freed first, once
// together they hold more triangles than the budget. The physics runs on one thread.
class NxIdleMeshShapes
{
public:
    // A full track's paged store holds thousands of meshes; only those round the car are in
    // the world.
    static constexpr std::size_t kDefaultTriangleBudget = 300000;

    explicit NxIdleMeshShapes(std::size_t triangleBudget = kDefaultTriangleBudget);
    // Frees the shapes still waiting; their meshes stay.
    ~NxIdleMeshShapes();
    NxIdleMeshShapes(const NxIdleMeshShapes&) = delete;
    NxIdleMeshShapes& operator=(const NxIdleMeshShapes&) = delete;

    // Frees the longest idle shapes until the rest fit.
    void setTriangleBudget(std::size_t triangles);
    std::size_t getTriangleBudget() const { return triangleBudget; }
    // Triangles of the shapes waiting now.
    std::size_t getTriangles() const { return triangles; }
    std::size_t getMeshCount() const { return meshes.size(); }

private:
    friend class NxTriangleMesh;
    // The mesh's shape, just given back by its last actor, waits as the most recent.
    void add(NxTriangleMesh& mesh);
    // Taken back, or the mesh goes: it waits no more, its shape untouched.
    void remove(NxTriangleMesh& mesh);
    void trim();
    void freeOldest();

    std::list<NxTriangleMesh*> meshes;  // borrowed; the longest idle first
    std::size_t triangles = 0;
    std::size_t triangleBudget;
};

}
