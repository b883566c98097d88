// A tree of cylinders and cones, lit by normals, without vertex colours: the batch adds them.
#include "TreeMesh.h"

#include <OGRE/Ogre.h>

namespace
{
constexpr int kSides = 10;

// A ring-to-ring band (cylinder or cone side) from radius r0 at y0 up to r1 at y1.
void band(Ogre::ManualObject& object, float r0, float y0, float r1, float y1)
{
    const Ogre::uint32 first = static_cast<Ogre::uint32>(object.getCurrentVertexCount());
    const float slope = (r0 - r1) / (y1 - y0);
    for (int side = 0; side <= kSides; ++side)
    {
        const float angle = Ogre::Math::TWO_PI * side / kSides;
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const Ogre::Vector3 normal = Ogre::Vector3(c, slope, s).normalisedCopy();
        object.position(r0 * c, y0, r0 * s);
        object.normal(normal);
        object.position(r1 * c, y1, r1 * s);
        object.normal(normal);
    }
    for (Ogre::uint32 side = 0; side < kSides; ++side)
    {
        const Ogre::uint32 v = first + 2 * side;
        object.triangle(v, v + 1, v + 2);
        object.triangle(v + 1, v + 3, v + 2);
    }
}

void makeMaterial(const char* name, const Ogre::ColourValue& colour)
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (materials.resourceExists(name))
        return;
    Ogre::MaterialPtr material = materials.create(name, Ogre::RGN_DEFAULT);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setDiffuse(colour);
    pass->setAmbient(colour);
    pass->setSpecular(0.3f, 0.3f, 0.3f, 1.0f);
}
}

Ogre::MeshPtr TreeMesh::create(Ogre::SceneManager& scene, const std::string& name)
{
    makeMaterial(kBarkMaterial, Ogre::ColourValue(0.35f, 0.22f, 0.12f));
    makeMaterial(kLeavesMaterial, Ogre::ColourValue(0.18f, 0.55f, 0.16f));

    Ogre::ManualObject* object = scene.createManualObject();
    object->begin(kBarkMaterial, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    band(*object, 0.6f, 0.0f, 0.4f, 5.0f);
    object->end();
    object->begin(kLeavesMaterial, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    band(*object, 4.0f, 3.0f, 0.0f, 8.0f);
    band(*object, 3.2f, 6.0f, 0.0f, 11.0f);
    band(*object, 2.2f, 9.0f, 0.0f, 14.0f);
    object->end();
    Ogre::MeshPtr mesh = object->convertToMesh(name);
    scene.destroyManualObject(object);
    return mesh;
}
