// The triangles of a terrain height grid, shared by the render tiles of a page and the
// single terrain mesh that lightmaps are baked on. Vertex (row i, column j) lies at
// (j * hs, H(i, j) * vs, i * hs); each quad is split along its (a, b)-(a + 1, b + 1) diagonal.
#pragma once

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreVector.h>

#include <vector>

namespace Ogre
{
class ManualObject;
}

namespace TerrainGrid
{
struct Page
{
    const float* heights;  // n x n, row by row
    unsigned size;         // n
    float horizontalScale;
    float verticalScale;
};

// Per vertex, the unit average of the faces around it (n x n, row by row).
std::vector<Ogre::Vector3> vertexNormals(const Page& page);

// Adds one section to a manual object: the samples of rows firstRow.. and columns
// firstColumn.. (samples per side each), with positions, normals and the page-wide texture
// coordinate (column / (n - 1), row / (n - 1)). Indices become 32-bit when they need to.
void addSection(Ogre::ManualObject& object, const Ogre::MaterialPtr& material, const Page& page,
                const std::vector<Ogre::Vector3>& normals, unsigned firstRow, unsigned firstColumn,
                unsigned samplesPerSide);

// The same section drawn coarser, with every step-th sample of it (a step dividing
// samplesPerSide - 1), and with a skirt: the section's edge repeated skirtDepth lower and
// joined to it by outward-facing walls, which hide the cracks where a neighbour is drawn at
// another step. No skirt at depth 0.
void addLevelSection(Ogre::ManualObject& object, const Ogre::MaterialPtr& material, const Page& page,
                     const std::vector<Ogre::Vector3>& normals, unsigned firstRow, unsigned firstColumn,
                     unsigned samplesPerSide, unsigned step, float skirtDepth);

// How far (world units, vertically) the section drawn at the given step strays from it
// drawn with every sample: the largest difference at any sample.
float levelError(const Page& page, unsigned firstRow, unsigned firstColumn, unsigned samplesPerSide,
                 unsigned step);

// The two triangles of quad (column a, row b) on a grid of `stride` samples per row.
void quadTriangles(unsigned stride, unsigned a, unsigned b, uint32_t out[6]);
}
