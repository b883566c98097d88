// Meshes for lightmap tests, built in memory: a flat square of ground with upward normals.
#pragma once

#include <string>

namespace Ogre
{
class Entity;
class SceneManager;
}

class LightMapMeshes
{
public:
    static constexpr float kHalfWidth = 10.0f;  // world units: the ground runs from -10 to 10

    LightMapMeshes();
    ~LightMapMeshes();
    LightMapMeshes(const LightMapMeshes&) = delete;
    LightMapMeshes& operator=(const LightMapMeshes&) = delete;

    // A ground square at height 0 on its own node, from -halfWidth to halfWidth, cut into
    // cells × cells quads, with uvSets texture-coordinate sets: the last one maps the square
    // once onto [0, 1] (u along +x, v along +z), the others tile it.
    Ogre::Entity* groundEntity(const std::string& name, int uvSets, int cells = 1, float halfWidth = kHalfWidth);
    Ogre::SceneManager* scene() const { return manager; }

private:
    Ogre::SceneManager* manager;
};
