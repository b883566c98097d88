// Ground meshes for the lightmap tests.
#include "LightMapMeshes.h"

#include "HeadlessOgre.h"

#include <OGRE/Ogre.h>

LightMapMeshes::LightMapMeshes() : manager(HeadlessOgre::createSceneManager())
{
}

LightMapMeshes::~LightMapMeshes()
{
    HeadlessOgre::root().destroySceneManager(manager);
}

Ogre::Entity* LightMapMeshes::groundEntity(const std::string& name, int uvSets, int cells, float halfWidth)
{
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (meshes.resourceExists(name))
        meshes.remove(name);
    Ogre::ManualObject* object = manager->createManualObject();
    object->begin("BaseWhiteNoLighting", Ogre::RenderOperation::OT_TRIANGLE_LIST);
    const float step = 2.0f * halfWidth / cells;
    for (int row = 0; row <= cells; ++row)
    {
        for (int column = 0; column <= cells; ++column)
        {
            const float x = -halfWidth + column * step;
            const float z = -halfWidth + row * step;
            object->position(x, 0.0f, z);
            object->normal(0.0f, 1.0f, 0.0f);
            for (int set = 0; set + 1 < uvSets; ++set)
                object->textureCoord(x / 2.0f, z / 2.0f);
            if (uvSets > 0)
                object->textureCoord(static_cast<float>(column) / cells, static_cast<float>(row) / cells);
        }
    }
    for (int row = 0; row < cells; ++row)
    {
        for (int column = 0; column < cells; ++column)
        {
            const Ogre::uint32 corner = row * (cells + 1) + column;
            object->triangle(corner, corner + cells + 1, corner + 1);
            object->triangle(corner + 1, corner + cells + 1, corner + cells + 2);
        }
    }
    object->end();
    object->convertToMesh(name);
    manager->destroyManualObject(object);
    Ogre::Entity* entity = manager->createEntity(name);
    manager->getRootSceneNode()->createChildSceneNode()->attachObject(entity);
    return entity;
}
