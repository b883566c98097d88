// Builds one tile mesh from a tile shape and writes it as an Ogre .mesh file: a height
// field over the footprint, one sub-mesh per surface, each with positions, normals, a
// diffuse UV set and a lightmap UV set (last).
#pragma once

#include "TileShapes.h"

#include <map>
#include <string>

namespace tiles
{
// Sub-mesh material per surface; surfaces without a name are merged into the previous
// entry of the same material name.
using SurfaceMaterials = std::map<Surface, std::string>;

// Needs a headless engine root (see TileMedia.cpp). Throws on failure.
void writeTileMesh(const TileShape& shape, const SurfaceMaterials& materials, const std::string& path);
}
