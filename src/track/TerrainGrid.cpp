// Terrain grid triangles, normals and manual-object sections.
#include "track/TerrainGrid.h"

#include <OGRE/OgreManualObject.h>

#include <algorithm>
#include <cmath>
#include <utility>

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
    addLevelSection(object, material, page, normals, firstRow, firstColumn, samplesPerSide, 1, 0.0f);
}

namespace
{
// The section's outline at the given step, walked once around: (row, column) samples.
std::vector<std::pair<unsigned, unsigned>> outline(unsigned firstRow, unsigned firstColumn, unsigned samplesPerSide,
                                                   unsigned step)
{
    const unsigned last = samplesPerSide - 1;
    std::vector<std::pair<unsigned, unsigned>> ring;
    for (unsigned k = 0; k < last; k += step)
        ring.emplace_back(firstRow, firstColumn + k);
    for (unsigned k = 0; k < last; k += step)
        ring.emplace_back(firstRow + k, firstColumn + last);
    for (unsigned k = last; k > 0; k -= step)
        ring.emplace_back(firstRow + last, firstColumn + k);
    for (unsigned k = last; k > 0; k -= step)
        ring.emplace_back(firstRow + k, firstColumn);
    return ring;
}
}

void addLevelSection(Ogre::ManualObject& object, const Ogre::MaterialPtr& material, const Page& page,
                     const std::vector<Ogre::Vector3>& normals, unsigned firstRow, unsigned firstColumn,
                     unsigned samplesPerSide, unsigned step, float skirtDepth)
{
    const unsigned n = page.size;
    const unsigned side = (samplesPerSide - 1) / step + 1;
    const float lastSample = static_cast<float>(n - 1);
    const std::vector<std::pair<unsigned, unsigned>> ring =
        skirtDepth > 0.0f ? outline(firstRow, firstColumn, samplesPerSide, step)
                          : std::vector<std::pair<unsigned, unsigned>>();
    object.estimateVertexCount(static_cast<size_t>(side) * side + ring.size());
    object.estimateIndexCount((static_cast<size_t>(side - 1) * (side - 1) + ring.size()) * 6);
    object.begin(material, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    auto addVertex = [&](unsigned row, unsigned column, float lower) {
        const size_t index = static_cast<size_t>(row) * n + column;
        object.position(column * page.horizontalScale, page.heights[index] * page.verticalScale - lower,
                        row * page.horizontalScale);
        object.normal(normals[index]);
        object.textureCoord(column / lastSample, row / lastSample);
    };
    for (unsigned row = firstRow; row < firstRow + samplesPerSide; row += step)
        for (unsigned column = firstColumn; column < firstColumn + samplesPerSide; column += step)
            addVertex(row, column, 0.0f);
    for (unsigned a = 0; a + 1 < side; ++a)
        for (unsigned b = 0; b + 1 < side; ++b)
        {
            uint32_t corners[6];
            quadTriangles(side, a, b, corners);
            object.triangle(corners[0], corners[1], corners[2]);
            object.triangle(corners[3], corners[4], corners[5]);
        }
    if (ring.empty())
    {
        object.end();
        return;
    }
    // The skirt: the outline's samples once more, lowered, after the grid's vertices.
    const uint32_t lowered = side * side;
    for (const auto& [row, column] : ring)
        addVertex(row, column, skirtDepth);
    auto gridIndex = [&](unsigned row, unsigned column) {
        return static_cast<uint32_t>((row - firstRow) / step * side + (column - firstColumn) / step);
    };
    // Walking the outline this way round, the wall faces out with the top edge first.
    for (uint32_t k = 0; k < ring.size(); ++k)
    {
        const uint32_t next = (k + 1) % static_cast<uint32_t>(ring.size());
        const uint32_t top = gridIndex(ring[k].first, ring[k].second);
        const uint32_t topNext = gridIndex(ring[next].first, ring[next].second);
        object.triangle(top, topNext, lowered + k);
        object.triangle(topNext, lowered + next, lowered + k);
    }
    object.end();
}

float levelError(const Page& page, unsigned firstRow, unsigned firstColumn, unsigned samplesPerSide, unsigned step)
{
    const unsigned n = page.size;
    auto height = [&](unsigned row, unsigned column) { return page.heights[static_cast<size_t>(row) * n + column]; };
    float worst = 0.0f;
    for (unsigned row = firstRow; row < firstRow + samplesPerSide; ++row)
        for (unsigned column = firstColumn; column < firstColumn + samplesPerSide; ++column)
        {
            // The coarse quad the sample lies in, and where in it (u along columns, v along rows).
            const unsigned r0 = firstRow + std::min((row - firstRow) / step, (samplesPerSide - 2) / step) * step;
            const unsigned c0 = firstColumn + std::min((column - firstColumn) / step, (samplesPerSide - 2) / step) * step;
            const float v = static_cast<float>(row - r0) / step;
            const float u = static_cast<float>(column - c0) / step;
            const float h00 = height(r0, c0), h10 = height(r0 + step, c0), h11 = height(r0 + step, c0 + step),
                        h01 = height(r0, c0 + step);
            // The quad's two triangles meet along its (r0, c0)-(r0 + step, c0 + step) diagonal.
            const float coarse = v >= u ? h00 + v * (h10 - h00) + u * (h11 - h10) : h00 + u * (h01 - h00) + v * (h11 - h01);
            worst = std::max(worst, std::fabs(coarse - height(row, column)));
        }
    return worst * page.verticalScale;
}
}
