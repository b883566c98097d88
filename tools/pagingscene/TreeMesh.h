// The test tree of the paging scene, built in code: a bark trunk and three cones of leaves,
// two submeshes with vertex data of their own and two materials of its own.
#pragma once

#include <OGRE/OgreMesh.h>

#include <string>

namespace Ogre
{
class SceneManager;
}

namespace TreeMesh
{
constexpr const char* kBarkMaterial = "PagingScene/Bark";
constexpr const char* kLeavesMaterial = "PagingScene/Leaves";

// About 14 units tall, its foot at the origin.
Ogre::MeshPtr create(Ogre::SceneManager& scene, const std::string& name);
}
