// Tile mesh building and export.
#include "TileMeshWriter.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreMeshSerializer.h>

#include <cmath>
#include <vector>

namespace tiles
{
namespace
{
constexpr int kQuadsPerCell = 24;         // dense enough to follow the terrain
constexpr float kLightMapGutter = 0.01f;  // of the lightmap, on every side
constexpr size_t kFloatsPerVertex = 10;   // position 3, normal 3, diffuse uv 2, lightmap uv 2

struct Group
{
    Surface surface;  // decides the diffuse mapping
    std::map<int, uint32_t> vertexOfGridPoint;
    std::vector<float> vertices;
    std::vector<uint32_t> indices;
};

void diffuseUv(const TileShape& shape, Surface surface, float x, float z, float& u, float& v)
{
    const float mx = x * kMeshUnitsPerCell, mz = z * kMeshUnitsPerCell;
    const RoadPlace place = locate(shape, x, z);
    switch (surface)
    {
    case Surface::Road:
        u = (place.across + kRoadHalfWidth) / (2.0f * kRoadHalfWidth);
        v = place.along / kMeshUnitsPerCell;
        return;
    case Surface::Kerb:
        u = place.along / 0.75f;
        v = (std::fabs(place.across) - kRoadHalfWidth) / (kKerbHalfWidth - kRoadHalfWidth);
        return;
    case Surface::Line:
        u = mx / kMeshUnitsPerCell;
        v = mz / kMeshUnitsPerCell;
        return;
    default:
        u = mx / 1.5f;
        v = mz / 1.5f;
        return;
    }
}

uint32_t vertexAt(const TileShape& shape, Group& group, int i, int j, Ogre::AxisAlignedBox& bounds)
{
    const int key = i * 100000 + j;
    const auto found = group.vertexOfGridPoint.find(key);
    if (found != group.vertexOfGridPoint.end())
        return found->second;

    const float x = static_cast<float>(i) / kQuadsPerCell;  // cells
    const float z = static_cast<float>(j) / kQuadsPerCell;
    const float h = heightAt(shape, x, z);
    constexpr float kStep = 0.01f;  // cells
    const float slopeX = (heightAt(shape, x + kStep, z) - heightAt(shape, x - kStep, z)) /
                         (2 * kStep * kMeshUnitsPerCell);
    const float slopeZ = (heightAt(shape, x, z + kStep) - heightAt(shape, x, z - kStep)) /
                         (2 * kStep * kMeshUnitsPerCell);
    const Ogre::Vector3 normal = Ogre::Vector3(-slopeX, 1.0f, -slopeZ).normalisedCopy();
    // The first cell is centred at the origin.
    const Ogre::Vector3 position(x * kMeshUnitsPerCell - kMeshUnitsPerCell / 2, h,
                                 z * kMeshUnitsPerCell - kMeshUnitsPerCell / 2);
    bounds.merge(position);
    float u = 0, v = 0;
    diffuseUv(shape, group.surface, x, z, u, v);
    const float lightU = kLightMapGutter + (1 - 2 * kLightMapGutter) * x / shape.width;
    const float lightV = kLightMapGutter + (1 - 2 * kLightMapGutter) * z / shape.height;
    const float values[kFloatsPerVertex] = {position.x, position.y, position.z, normal.x, normal.y, normal.z,
                                            u, v, lightU, lightV};
    group.vertices.insert(group.vertices.end(), values, values + kFloatsPerVertex);
    const uint32_t index = static_cast<uint32_t>(group.vertexOfGridPoint.size());
    group.vertexOfGridPoint[key] = index;
    return index;
}

void addSubMesh(Ogre::Mesh& mesh, const std::string& material, const Group& group)
{
    Ogre::SubMesh* sub = mesh.createSubMesh();
    sub->useSharedVertices = false;
    // A sub-mesh keeps a material name only when such a material exists.
    auto& materials = Ogre::MaterialManager::getSingleton();
    if (!materials.resourceExists(material, "General"))
        materials.create(material, "General");
    sub->setMaterialName(material, "General");
    sub->vertexData = new Ogre::VertexData();
    Ogre::VertexData& data = *sub->vertexData;
    data.vertexCount = group.vertices.size() / kFloatsPerVertex;
    Ogre::VertexDeclaration* declaration = data.vertexDeclaration;
    size_t offset = 0;
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 1).getSize();
    auto& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer =
        buffers.createVertexBuffer(offset, data.vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    vertexBuffer->writeData(0, vertexBuffer->getSizeInBytes(), group.vertices.data(), true);
    data.vertexBufferBinding->setBinding(0, vertexBuffer);

    sub->indexData->indexCount = group.indices.size();
    sub->indexData->indexBuffer = buffers.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_32BIT, group.indices.size(),
                                                            Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    sub->indexData->indexBuffer->writeData(0, sub->indexData->indexBuffer->getSizeInBytes(), group.indices.data(),
                                           true);
}
}

void writeTileMesh(const TileShape& shape, const SurfaceMaterials& materials, const std::string& path)
{
    std::map<std::string, Group> groups;  // by material name, in name order for stable output
    Ogre::AxisAlignedBox bounds;
    const int columns = shape.width * kQuadsPerCell, rows = shape.height * kQuadsPerCell;
    for (int i = 0; i < columns; ++i)
    {
        for (int j = 0; j < rows; ++j)
        {
            // Two triangles per quad, each given the surface under its centroid.
            const int corners[2][3][2] = {{{i, j}, {i, j + 1}, {i + 1, j}}, {{i + 1, j}, {i, j + 1}, {i + 1, j + 1}}};
            for (const auto& triangle : corners)
            {
                const float cx = (triangle[0][0] + triangle[1][0] + triangle[2][0]) / (3.0f * kQuadsPerCell);
                const float cz = (triangle[0][1] + triangle[1][1] + triangle[2][1]) / (3.0f * kQuadsPerCell);
                const Surface surface = surfaceAt(shape, cx, cz);
                const auto material = materials.find(surface);
                if (surface == Surface::None || material == materials.end())
                    continue;
                auto inserted = groups.try_emplace(material->second, Group{surface, {}, {}, {}});
                Group& group = inserted.first->second;
                for (const auto& corner : triangle)
                    group.indices.push_back(vertexAt(shape, group, corner[0], corner[1], bounds));
            }
        }
    }

    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(shape.name + "_generated", "General");
    for (const auto& [material, group] : groups)
        addSubMesh(*mesh, material, group);
    mesh->_setBounds(bounds, false);
    mesh->_setBoundingSphereRadius((bounds.getMaximum() - bounds.getMinimum()).length() / 2);
    Ogre::MeshSerializer serializer;
    serializer.exportMesh(mesh.get(), path);
    // Marked loaded so that removing it unloads, and so frees, its sub-meshes.
    mesh->load();
    Ogre::MeshManager::getSingleton().remove(mesh);
}
}
