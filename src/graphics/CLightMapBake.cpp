// Lightmap baking: reading the sub-mesh, rasterising its triangles in UV space, the shadow
// rays, the gap fill and the blur.
#include "graphics/CLightMap.h"

#include "LogStream.h"
#include "graphics/LightRayCaster.h"
#include "graphics/ToyPictureFloatGrey.h"

#include <CImg.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreHardwareBuffer.h>
#include <OGRE/OgreMatrix4.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreSubMesh.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace
{
constexpr float kDegenerateUvArea = 1e-6f;     // doubled area in UV space
constexpr float kTinyNormal = 1e-8f;
constexpr float kBackToLight = 100.0f;         // world units: where the first ray starts
constexpr float kGrazingFactor = 2.0f;         // |L·N| below this × offset counts as grazing
constexpr float kGrazingLift = 5.0f;           // × offset along the normal for grazing rays
constexpr float kLightRayLength = 10000.0f;    // world units, past any track's diagonal
constexpr float kBlurSigma = 1.0f;             // texels
constexpr unsigned kNeumannBoundary = 1;
constexpr bool kDericheBlur = false;
constexpr int kLightChannel = 0;
constexpr int kCoverageChannel = 1;

// The gap fill's neighbours, ring by ring; inside a ring this order decides which covered
// neighbour a gap copies.
const CLightMap::Offset kOffsets[] = {
    {0, -1}, {0, 1}, {1, 0}, {-1, 0},
    {1, -1}, {1, 1}, {-1, -1}, {-1, 1},
    {0, 2}, {0, -2}, {-2, 0}, {2, 0},
    {-1, -2}, {1, -2}, {-2, -1}, {1, 2}, {-2, 1}, {2, 1}, {2, -1}, {-1, 2},
    {2, 2}, {-2, 2}, {-2, -2}, {2, -2},
    {3, 0}, {0, -3}, {0, 3}, {-3, 0},
    {3, 1}, {-1, -3}, {-3, 1}, {-3, -1}, {1, -3}, {3, -1}, {1, 3}, {-1, 3},
    {-3, 2}, {3, 2}, {-3, -2}, {-2, -3}, {2, 3}, {-2, 3}, {3, -2}, {2, -3},
    {0, -4}, {0, 4}, {-4, 0}, {4, 0},
    {-1, -4}, {1, -4}, {-4, 1}, {-4, -1}, {1, 4}, {4, -1}, {-1, 4}, {4, 1},
    {3, -3}, {3, 3}, {-3, 3}, {-3, -3},
    {2, 4}, {-2, 4}, {-2, -4}, {4, 2}, {2, -4}, {-4, -2}, {4, -2}, {-4, 2},
    {3, -4}, {5, 0}, {-5, 0}, {4, 3}, {-4, -3}, {-4, 3}, {4, -3}, {0, -5}, {3, 4}, {-3, -4}, {0, 5}, {-3, 4},
    {5, 1}, {-1, 5}, {-1, -5}, {5, -1}, {-5, -1}, {-5, 1}, {1, -5}, {1, 5},
    {5, -2}, {5, 2}, {2, 5}, {2, -5}, {-2, 5}, {-2, -5}, {-5, 2}, {-5, -2},
    {4, 4}, {4, -4}, {-4, 4}, {-4, -4},
    {5, 3}, {-5, 3}, {5, -3}, {-5, -3}, {3, 5}, {-3, -5}, {-3, 5}, {3, -5},
    {-5, -4}, {5, -4}, {4, 5}, {-5, 4}, {5, 4}, {-4, -5}, {-4, 5}, {4, -5},
    {5, 5}, {5, -5}, {-5, 5}, {-5, -5},
};

float cross2(const Ogre::Vector2& a, const Ogre::Vector2& b)
{
    return a.x * b.y - a.y * b.x;
}

// Reads the first floats of one vertex element for every vertex.
template <typename Store>
bool readElement(const Ogre::VertexData& data, const Ogre::VertexElement* element, Store store)
{
    if (!element)
        return false;
    const Ogre::HardwareVertexBufferSharedPtr buffer = data.vertexBufferBinding->getBuffer(element->getSource());
    const auto* start = static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    const std::size_t stride = buffer->getVertexSize();
    for (std::size_t i = 0; i < data.vertexCount; ++i)
    {
        const float* values = nullptr;
        element->baseVertexPointerToElement(const_cast<unsigned char*>(start + (data.vertexStart + i) * stride),
                                            &values);
        store(i, values);
    }
    buffer->unlock();
    return true;
}
}

struct CLightMap::MeshCopy
{
    std::vector<Ogre::Vector3> positions;  // world space
    std::vector<Ogre::Vector3> normals;    // rotated into world space, not renormalised
    std::vector<Ogre::Vector2> uvs;        // the lightmap set
    std::vector<std::uint32_t> indices;    // three per triangle
};

std::vector<CLightMap::Offset> CLightMap::buildOffsetTable()
{
    std::vector<Offset> table(std::begin(kOffsets), std::end(kOffsets));
    assert(table.size() == 120 && std::is_sorted(table.begin(), table.end(), closerOffset));
    return table;
}

const std::vector<CLightMap::Offset>& CLightMap::getOffsetTable()
{
    static const std::vector<Offset> table = buildOffsetTable();
    return table;
}

bool CLightMap::closerOffset(const Offset& a, const Offset& b)
{
    return a.first * a.first + a.second * a.second < b.first * b.first + b.second * b.second;
}

int CLightMap::findLightmapUvSet() const
{
    if (!subEntity)
        return -1;
    const Ogre::SubMesh* subMesh = subEntity->getSubMesh();
    const Ogre::VertexData* data = subMesh->useSharedVertices ? subMesh->parent->sharedVertexData : subMesh->vertexData;
    if (!data)
        return -1;
    int count = 0;
    while (data->vertexDeclaration->findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES, count))
        ++count;
    return count - 1;
}

bool CLightMap::readMesh(MeshCopy& mesh) const
{
    const Ogre::SubMesh* subMesh = subEntity->getSubMesh();
    const Ogre::VertexData* data = subMesh->useSharedVertices ? subMesh->parent->sharedVertexData : subMesh->vertexData;
    const Ogre::IndexData* indexData = subMesh->indexData;
    if (!data || !indexData || !indexData->indexBuffer)
        return false;
    Ogre::Matrix4 world;
    subEntity->getWorldTransforms(&world);
    // Normals only turn with the sub-entity; a scaled transform must not stretch them.
    const Ogre::Quaternion rotation(world.linear().orthonormalised());
    const Ogre::VertexDeclaration& declaration = *data->vertexDeclaration;
    const std::size_t count = data->vertexCount;
    mesh.positions.resize(count);
    mesh.normals.resize(count);
    mesh.uvs.resize(count);
    const bool complete =
        readElement(*data, declaration.findElementBySemantic(Ogre::VES_POSITION, 0),
                    [&](std::size_t i, const float* v) { mesh.positions[i] = world * Ogre::Vector3(v[0], v[1], v[2]); }) &&
        readElement(*data, declaration.findElementBySemantic(Ogre::VES_NORMAL, 0),
                    [&](std::size_t i, const float* v) { mesh.normals[i] = rotation * Ogre::Vector3(v[0], v[1], v[2]); }) &&
        readElement(*data, declaration.findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES, uvSet),
                    [&](std::size_t i, const float* v) { mesh.uvs[i] = Ogre::Vector2(v[0], v[1]); });
    if (!complete)
        return false;

    const Ogre::HardwareIndexBufferSharedPtr& buffer = indexData->indexBuffer;
    const std::size_t triangleCount = indexData->indexCount / 3;
    const void* indices = buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY);
    mesh.indices.resize(triangleCount * 3);
    for (std::size_t i = 0; i < triangleCount * 3; ++i)
    {
        const std::size_t at = indexData->indexStart + i;
        mesh.indices[i] = buffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT
                              ? static_cast<const std::uint32_t*>(indices)[at]
                              : static_cast<const std::uint16_t*>(indices)[at];
    }
    buffer->unlock();
    return true;
}

bool CLightMap::compute()
{
    baked = false;
    if (raster)
        raster->fill(0);
    if (!subEntity || !rays)
    {
        debugLog() << "Lightmap " << name << ": " << (subEntity ? "no scene to cast rays through" : "no sub-entity")
                   << ", not baked" << std::endl;
        return false;
    }
    uvSet = findLightmapUvSet();
    if (uvSet < 0)
    {
        debugLog() << "Lightmap " << name << ": sub-mesh of '" << subEntity->getParent()->getName()
                   << "' has no texture coordinates, not baked" << std::endl;
        return false;
    }
    MeshCopy mesh;
    if (!readMesh(mesh))
    {
        debugLog() << "Lightmap " << name << ": sub-mesh of '" << subEntity->getParent()->getName()
                   << "' lacks positions, normals or indices, not baked" << std::endl;
        return false;
    }
    for (std::uint32_t index : mesh.indices)
    {
        if (index >= mesh.positions.size())
        {
            debugLog() << "Lightmap " << name << ": index " << index << " past the " << mesh.positions.size()
                       << " vertices, not baked" << std::endl;
            return false;
        }
    }
    if (texelsPerUnit != 0.0f && !raster)
    {
        float totalArea = 0.0f;
        for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3)
            totalArea += triangleArea(mesh.positions[mesh.indices[i]], mesh.positions[mesh.indices[i + 1]],
                                      mesh.positions[mesh.indices[i + 2]]);
        size = sizeForArea(totalArea, texelsPerUnit);
    }
    if (size <= 0)
    {
        debugLog() << "Lightmap " << name << ": size " << size << ", not baked" << std::endl;
        return false;
    }
    createTexture();

    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3)
    {
        const std::uint32_t corner[3] = {mesh.indices[i], mesh.indices[i + 1], mesh.indices[i + 2]};
        const Ogre::Vector3 positions[3] = {mesh.positions[corner[0]], mesh.positions[corner[1]],
                                            mesh.positions[corner[2]]};
        const Ogre::Vector3 normals[3] = {mesh.normals[corner[0]], mesh.normals[corner[1]], mesh.normals[corner[2]]};
        const Ogre::Vector2 uvs[3] = {mesh.uvs[corner[0]], mesh.uvs[corner[1]], mesh.uvs[corner[2]]};
        rasteriseTriangle(positions, normals, uvs);
    }
    finishRaster();
    baked = true;
    return true;
}

void CLightMap::finishRaster()
{
    fillGaps();
    unsigned char* light = raster->data(0, 0, 0, kLightChannel);
    std::replace(light, light + static_cast<std::size_t>(size) * size, static_cast<unsigned char>(0), kLit);
    // Blurred in floats and rounded: blurring the bytes in place truncates twice and would
    // bake a fully lit surface as 253.
    cimg_library::CImg<float> smooth(*raster);
    smooth.blur(kBlurSigma, kNeumannBoundary, kDericheBlur);
    *raster = smooth.round().cut(0.0f, 255.0f);
}

float CLightMap::triangleArea(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c)
{
    return 0.5f * (b - a).crossProduct(c - a).length();
}

int CLightMap::sizeForArea(float totalArea, float texelsPerUnit)
{
    const float wanted = std::sqrt(totalArea) * texelsPerUnit;
    int result = 1;
    while (wanted > static_cast<float>(result))
        result *= 2;
    return result;
}

int CLightMap::uvToPixel(float t) const
{
    const int pixel = static_cast<int>(static_cast<float>(size) * t);
    return std::min(std::max(pixel, 0), size - 1);
}

float CLightMap::pixelToUv(int pixel) const
{
    return static_cast<float>((pixel + 0.5) / size);
}

Ogre::Vector3 CLightMap::barycentric(const Ogre::Vector2& a, const Ogre::Vector2& b, const Ogre::Vector2& c,
                                     const Ogre::Vector2& point)
{
    const float det = cross2(b - a, c - a);
    float w0 = 0.0f;
    float w1 = 0.0f;
    if (std::fabs(det) >= kDegenerateUvArea)
    {
        w0 = cross2(b - point, c - point) / det;
        w1 = cross2(c - point, a - point) / det;
    }
    return Ogre::Vector3(w0, w1, 1.0f - w0 - w1);
}

void CLightMap::rasteriseTriangle(const Ogre::Vector3 positions[3], const Ogre::Vector3 normals[3],
                                  const Ogre::Vector2 uvs[3])
{
    if (!raster)
        return;
    // A triangle without area in UV space has no texels of its own.
    if (std::fabs(cross2(uvs[1] - uvs[0], uvs[2] - uvs[0])) < kDegenerateUvArea)
        return;
    const int x0 = uvToPixel(std::min({uvs[0].x, uvs[1].x, uvs[2].x}));
    const int y0 = uvToPixel(std::min({uvs[0].y, uvs[1].y, uvs[2].y}));
    const int x1 = uvToPixel(std::max({uvs[0].x, uvs[1].x, uvs[2].x}));
    const int y1 = uvToPixel(std::max({uvs[0].y, uvs[1].y, uvs[2].y}));
    for (int x = x0; x <= x1; ++x)
    {
        for (int y = y0; y <= y1; ++y)
        {
            if ((*raster)(x, y, 0, kCoverageChannel) == 1)
                continue;
            const Ogre::Vector3 w = barycentric(uvs[0], uvs[1], uvs[2], Ogre::Vector2(pixelToUv(x), pixelToUv(y)));
            if (w.x < 0.0f || w.y < 0.0f || w.z < 0.0f)
                continue;
            const Ogre::Vector3 point = w.x * positions[0] + w.y * positions[1] + w.z * positions[2];
            Ogre::Vector3 normal = w.x * normals[0] + w.y * normals[1] + w.z * normals[2];
            const float length = normal.length();
            if (length > kTinyNormal)
                normal /= length;
            (*raster)(x, y, 0, kLightChannel) = isShadowed(point, normal);
            (*raster)(x, y, 0, kCoverageChannel) = 1;
            if (parameters.recordHits && hitPicture)
                hitPicture->setGrey(x, y, hitValue);
        }
    }
}

std::uint8_t CLightMap::isShadowed(const Ogre::Vector3& point, const Ogre::Vector3& normal)
{
    hitValue = 0.0f;
    const Ogre::Vector3 towardsScene = parameters.lightDirection.normalisedCopy();
    const float surfaceOffset = parameters.surfaceOffset;
    const bool recordHits = parameters.recordHits;
    const float facing = -towardsScene.dotProduct(normal);
    // A grazing light runs along the surface: lift the rays off it.
    const bool grazing = -kGrazingFactor * surfaceOffset < facing && facing < kGrazingFactor * surfaceOffset;
    const Ogre::Vector3 lift = grazing ? kGrazingLift * surfaceOffset * normal : Ogre::Vector3::ZERO;
    // Every ray stops (or starts) one offset short of the surface: a lit surface must not
    // shadow itself, whichever way the engine decides a ray starting on it.
    const Ogre::Vector3 nearSurface = point - surfaceOffset * towardsScene + lift;
    // First from 100 units back towards the light down to the surface: this one also finds
    // an occluder standing on the surface, whose inside a ray starting there would miss.
    const Ogre::Vector3 start = point - kBackToLight * towardsScene + lift;
    const float firstLength = kBackToLight - surfaceOffset;
    Ogre::Vector3 impact;
    if (rays->castRay(start, towardsScene, firstLength, recordHits ? &impact : nullptr))
    {
        if (recordHits)
            hitValue = impact.y;
        return kShadowed;
    }
    // Then anything between the surface and the far end of the world towards the light.
    return rays->castRay(nearSurface, -towardsScene, kLightRayLength, nullptr) ? kShadowed : kLit;
}

void CLightMap::fillGaps()
{
    if (!raster)
        return;
    for (int x = 0; x < size; ++x)
    {
        for (int y = 0; y < size; ++y)
        {
            if ((*raster)(x, y, 0, kCoverageChannel) != 0)
                continue;
            for (const Offset& offset : getOffsetTable())
            {
                const int nx = x + offset.first;
                const int ny = y + offset.second;
                if (nx >= 0 && ny >= 0 && nx < size && ny < size && (*raster)(nx, ny, 0, kCoverageChannel) == 1)
                {
                    (*raster)(x, y, 0, kLightChannel) = (*raster)(nx, ny, 0, kLightChannel);
                    break;
                }
            }
        }
    }
}
