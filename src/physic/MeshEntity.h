// Entities of meshes read from data files: a damaged ".mesh" either throws an error naming
// neither file nor problem, or loads as nothing at all and leaves an invisible car. Here
// both are an Ogre::Exception naming the mesh.
#pragma once

#include <string>

namespace Ogre
{
class Entity;
class SceneManager;
}

// Throws Ogre::Exception ("mesh \"Roadster.mesh\": ...") when the mesh can't be read or
// holds no geometry; nothing is left in the scene manager then.
Ogre::Entity* createMeshEntity(Ogre::SceneManager& sceneManager, const std::string& name, const std::string& meshName);
// The file check alone, for a mesh another library makes its entity of: throws the same
// exception when the file in the resource group (the default one when empty) is no whole mesh.
void checkMeshFile(const std::string& meshName, const std::string& group = "");
