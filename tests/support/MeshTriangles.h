// The triangles of a mesh, read back from its buffers, and a ray cast against them: what the
// tests check collision shapes and trunk media by.
#pragma once

#include <OGRE/OgreRay.h>
#include <OGRE/OgreVector.h>

#include <array>
#include <string>
#include <vector>

namespace Ogre
{
class Mesh;
}

using MeshTriangle = std::array<Ogre::Vector3, 3>;

// The triangles of the sub-meshes with that material, or of all of them for "".
std::vector<MeshTriangle> meshTriangles(const Ogre::Mesh& mesh, const std::string& material = "");

// How far along the ray the nearest triangle is, either side facing; none: -1.
float nearestHit(const std::vector<MeshTriangle>& triangles, const Ogre::Ray& ray);
