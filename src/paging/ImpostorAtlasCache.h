// The impostor atlases kept between runs: PNG files in the per-user "tmp/" folder, named after
// the mesh and a hash of its content, so that a changed mesh is never shown with the pictures
// of its older self. A folder that can't be read or written costs only the cache.
#pragma once

#include <cstdint>
#include <string>

namespace Ogre
{
class Image;
class Mesh;
}

namespace ImpostorAtlasCache
{
// A hash of what the mesh looks like: its vertices, indices and sub-mesh materials.
uint64_t contentHash(const Ogre::Mesh& mesh);
// "Impostor.<group>.<mesh>.<content hash>.<resolution>.png", any "/" of the names made "_".
std::string fileName(const Ogre::Mesh& mesh, uint32_t resolution);

// folder (ending in "/") is made if missing. False, image untouched, when the file is missing
// or unreadable.
bool load(const std::string& folder, const std::string& fileName, Ogre::Image& image);
// Writes the file whole or not at all; false, logged, when it can't be written.
bool save(const std::string& folder, const std::string& fileName, const Ogre::Image& image);
}
