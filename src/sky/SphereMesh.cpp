// The sky's sphere meshes.
#include "sky/SphereMesh.h"

#include "sky/SkyResourceGroup.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreSubMesh.h>

#include <cmath>
#include <cstring>

namespace sky
{
namespace
{
constexpr unsigned kMaxSegments = 180;  // (n + 1)^2 vertices below 65536

SphereVertex ringVertex(float theta, float phi, float u, float v)
{
    const float x = std::sin(phi) * std::sin(theta);
    const float y = std::cos(theta);
    const float z = std::cos(phi) * std::sin(theta);
    return SphereVertex{{x, y, z}, {-x, -y, -z}, {u, v}};
}

void addTriangle(SphereGeometry& sphere, unsigned a, unsigned b, unsigned c)
{
    sphere.indices.push_back(static_cast<std::uint16_t>(a));
    sphere.indices.push_back(static_cast<std::uint16_t>(b));
    sphere.indices.push_back(static_cast<std::uint16_t>(c));
}

void buildPoleSphere(SphereGeometry& sphere, unsigned n)
{
    const float ringStep = static_cast<float>(M_PI) / n;
    const float segmentStep = 2.0f * static_cast<float>(M_PI) / n;
    for (unsigned ring = 1; ring < n; ++ring)
        for (unsigned segment = 0; segment < n; ++segment)
        {
            const float theta = ring * ringStep;
            sphere.vertices.push_back(ringVertex(theta, segment * segmentStep, 0.0f, 1.0f - std::cos(theta)));
        }
    const unsigned top = (n - 1) * n;
    const unsigned bottom = top + 1;
    sphere.vertices.push_back(SphereVertex{{0, 1, 0}, {0, -1, 0}, {0, 0}});
    sphere.vertices.push_back(SphereVertex{{0, -1, 0}, {0, 1, 0}, {0, 2}});

    for (unsigned band = 0; band + 2 < n; ++band)
        for (unsigned s = 0; s < n; ++s)
        {
            const unsigned next = (s + 1) % n;
            addTriangle(sphere, band * n + s, band * n + next, (band + 1) * n + next);
            addTriangle(sphere, band * n + s, (band + 1) * n + next, (band + 1) * n + s);
        }
    for (unsigned s = 0; s < n; ++s)
        addTriangle(sphere, top, (s + 1) % n, s);
    for (unsigned s = 0; s < n; ++s)
        addTriangle(sphere, bottom, (n - 2) * n + s, (n - 2) * n + (s + 1) % n);
}

void buildUVSphere(SphereGeometry& sphere, unsigned n)
{
    const float ringStep = static_cast<float>(M_PI) / n;
    const float segmentStep = 2.0f * static_cast<float>(M_PI) / n;
    for (unsigned ring = 0; ring <= n; ++ring)
        for (unsigned segment = 0; segment <= n; ++segment)
        {
            const float theta = ring * ringStep;
            sphere.vertices.push_back(ringVertex(theta, segment * segmentStep, static_cast<float>(segment) / n,
                                                 1.0f - (0.5f * std::cos(theta) + 0.5f)));
        }
    for (unsigned band = 0; band < n; ++band)
        for (unsigned s = 0; s < n; ++s)
        {
            const unsigned a = band * (n + 1) + s;
            addTriangle(sphere, a, a + 1, a + n + 2);
            addTriangle(sphere, a, a + n + 2, a + n + 1);
        }
}
}

SphereGeometry buildSphereGeometry(unsigned segments, SphereKind kind)
{
    if (segments < 3 || segments > kMaxSegments)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "a sphere needs 3 to 180 segments", "sky::buildSphereGeometry");
    SphereGeometry sphere;
    if (kind == SphereKind::Pole)
        buildPoleSphere(sphere, segments);
    else
        buildUVSphere(sphere, segments);
    return sphere;
}

void createSphereMesh(const std::string& name, unsigned segments, SphereKind kind)
{
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (meshes.resourceExists(name, getSkyResourceGroupName()))
        return;
    Ogre::LogManager::getSingleton().logMessage("Creating " + name + " sphere mesh resource...");
    const SphereGeometry sphere = buildSphereGeometry(segments, kind);

    Ogre::MeshPtr mesh = meshes.createManual(name, getSkyResourceGroupName());
    Ogre::SubMesh* sub = mesh->createSubMesh();
    mesh->sharedVertexData = new Ogre::VertexData();
    Ogre::VertexData* vertexData = mesh->sharedVertexData;
    Ogre::VertexDeclaration* declaration = vertexData->vertexDeclaration;
    size_t offset = 0;
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);

    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer = buffers.createVertexBuffer(
        sizeof(SphereVertex), sphere.vertices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    vertexBuffer->writeData(0, vertexBuffer->getSizeInBytes(), sphere.vertices.data(), true);
    vertexData->vertexBufferBinding->setBinding(0, vertexBuffer);
    vertexData->vertexCount = sphere.vertices.size();

    Ogre::HardwareIndexBufferSharedPtr indexBuffer = buffers.createIndexBuffer(
        Ogre::HardwareIndexBuffer::IT_16BIT, sphere.indices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    indexBuffer->writeData(0, indexBuffer->getSizeInBytes(), sphere.indices.data(), true);
    sub->useSharedVertices = true;
    sub->indexData->indexBuffer = indexBuffer;
    sub->indexData->indexCount = sphere.indices.size();
    sub->indexData->indexStart = 0;

    mesh->_setBounds(Ogre::AxisAlignedBox(-1, -1, -1, 1, 1, 1));
    mesh->_setBoundingSphereRadius(1.0f);
    mesh->load();
    Ogre::LogManager::getSingleton().logMessage("DONE");
}
}
