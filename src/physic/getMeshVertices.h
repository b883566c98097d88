// Reading vertex positions out of an entity's mesh: for convex chassis shapes, and for
// cooking triangle meshes.
#pragma once

#include <OGRE/OgreVector.h>

#include <vector>

namespace Ogre
{
class Entity;
class VertexData;
}

// Every vertex position of the entity's mesh, sub-mesh by sub-mesh; shared vertices once.
std::vector<Ogre::Vector3> getMeshVertices(Ogre::Entity* entity);

// Appends the positions of vertexData, multiplied component-wise by scale, as x, y, z floats.
void appendVertexPositions(const Ogre::VertexData& vertexData, const Ogre::Vector3& scale, std::vector<float>& out);
