// Small meshes of chosen vertex layouts for the batching tests, built straight into buffers.
#pragma once

#include <OGRE/OgreHardwareIndexBuffer.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <string>
#include <vector>

namespace BatchMeshes
{
struct Layout
{
    size_t vertices = 4;                      // per submesh, at vertexPosition(0..n-1)
    std::vector<std::string> materials = {"BatchTest/Bark"};  // one submesh each
    bool diffuse = true;                      // a packed colour of kVertexColour per vertex
    bool blendWeights = false;                // bone indices and weights in a source of their own
    bool sharedVertices = false;              // the submeshes use the mesh's vertices
    Ogre::HardwareIndexBuffer::IndexType indexType = Ogre::HardwareIndexBuffer::IT_16BIT;
};

// Bytes of every vertex colour, in memory order.
constexpr uint8_t kVertexColour[4] = {200, 100, 50, 128};

// Where vertex n of a submesh lies; its normal is +z, its texture coordinate (n, 2n).
Ogre::Vector3 vertexPosition(size_t n);

// Creates the mesh (replacing one of that name) and the materials it names.
Ogre::MeshPtr make(const std::string& name, const Layout& layout);
// A strip of triangles: (k, k+1, k+2) for every k.
size_t indexCount(size_t vertices);
}
