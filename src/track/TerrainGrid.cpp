// Terrain grid triangles, normals and manual-object sections.
#include "track/TerrainGrid.h"

#include <OGRE/OgreManualObject.h>

namespace TerrainGrid
{
void quadTriangles(unsigned stride, unsigned a, unsigned b, uint32_t out[6])
{
    const uint32_t near = stride * b + a, far = stride * (b + 1) + a;
    // Counter-clockwise seen from above, so the faces point up.
    out[0] = near;
    out[1] = far;
    out[2] = far + 1;
    out[3] = near + 1;
    out[4] = near;
    out[5] = far + 1;
}

std::vector<Ogre::Vector3> vertexNormals(const Page& page)
{
    const unsigned n = page.size;
    auto position = [&](uint32_t index) {
        return Ogre::Vector3((index % n) * page.horizontalScale, page.heights[index] * page.verticalScale,
                             (index / n) * page.horizontalScale);
    };
    std::vector<Ogre::Vector3> normals(static_cast<size_t>(n) * n, Ogre::Vector3::ZERO);
    for (unsigned b = 0; b + 1 < n; ++b)
        for (unsigned a = 0; a + 1 < n; ++a)
        {
            uint32_t corners[6];
            quadTriangles(n, a, b, corners);
            for (int t = 0; t < 6; t += 3)
            {
                const Ogre::Vector3 p0 = position(corners[t]);
                const Ogre::Vector3 face = (position(corners[t + 1]) - p0)
                                               .crossProduct(position(corners[t + 2]) - p0)
                                               .normalisedCopy();
                for (int k = 0; k < 3; ++k)
                    normals[corners[t + k]] += face;
            }
        }
    // The average of unit normals is shorter than one where the ground bends; lighting
    // needs unit length.
    for (Ogre::Vector3& normal : normals)
        normal.normalise();
    return normals;
}

void addSection(Ogre::ManualObject& object, const Ogre::MaterialPtr& material, const Page& page,
                const std::vector<Ogre::Vector3>& normals, unsigned firstRow, unsigned firstColumn,
                unsigned samplesPerSide)
{
    const unsigned n = page.size;
    const float lastSample = static_cast<float>(n - 1);
    object.estimateVertexCount(static_cast<size_t>(samplesPerSide) * samplesPerSide);
    object.estimateIndexCount(static_cast<size_t>(samplesPerSide - 1) * (samplesPerSide - 1) * 6);
    object.begin(material, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    for (unsigned row = firstRow; row < firstRow + samplesPerSide; ++row)
        for (unsigned column = firstColumn; column < firstColumn + samplesPerSide; ++column)
        {
            const size_t index = static_cast<size_t>(row) * n + column;
            object.position(column * page.horizontalScale, page.heights[index] * page.verticalScale,
                            row * page.horizontalScale);
            object.normal(normals[index]);
            object.textureCoord(column / lastSample, row / lastSample);
        }
    for (unsigned a = 0; a + 1 < samplesPerSide; ++a)
        for (unsigned b = 0; b + 1 < samplesPerSide; ++b)
        {
            uint32_t corners[6];
            quadTriangles(samplesPerSide, a, b, corners);
            object.triangle(corners[0], corners[1], corners[2]);
            object.triangle(corners[3], corners[4], corners[5]);
        }
    object.end();
}
}
