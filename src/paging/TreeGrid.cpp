// Tree records in page cells.
#include "paging/TreeGrid.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kPositionSteps = 65535.0f;
constexpr float kByteSteps = 255.0f;
constexpr float kDegreesPerYawStep = 360.0f / 255.0f;
}

template <typename Record>
TreeGrid<Record>::TreeGrid(float geometryLeft, float geometryTop, float size, const TBounds& bounds)
    : pageSize(size), gridBounds(bounds), actualBounds(bounds)
{
    gridBounds.left = geometryLeft + std::floor((bounds.left - geometryLeft) / pageSize) * pageSize;
    gridBounds.top = geometryTop + std::floor((bounds.top - geometryTop) / pageSize) * pageSize;
    gridBounds.right = geometryLeft + std::ceil((bounds.right - geometryLeft) / pageSize) * pageSize;
    gridBounds.bottom = geometryTop + std::ceil((bounds.bottom - geometryTop) / pageSize) * pageSize;
    width = static_cast<int>(std::ceil(gridBounds.width() / pageSize)) + 1;
    depth = static_cast<int>(std::ceil(gridBounds.height() / pageSize)) + 1;
}

template <typename Record>
bool TreeGrid<Record>::contains(float x, float z) const
{
    // Written so that NaN is outside too.
    return x >= actualBounds.left && x <= actualBounds.right && z >= actualBounds.top &&
           z <= actualBounds.bottom;
}

template <typename Record>
std::size_t TreeGrid<Record>::pack(float x, float z, float yawDegrees, float scale, Record& record) const
{
    const float px = x - gridBounds.left;
    const float pz = z - gridBounds.top;
    // A tree on the far edge goes with the last page: the geometry has no page beyond it.
    const int cellX = std::clamp(static_cast<int>(std::floor(px / pageSize)), 0, std::max(width - 2, 0));
    const int cellZ = std::clamp(static_cast<int>(std::floor(pz / pageSize)), 0, std::max(depth - 2, 0));
    const auto fraction = [this](float offset) {
        return static_cast<std::uint16_t>(std::clamp(offset / pageSize, 0.0f, 1.0f) * kPositionSteps);
    };
    record.xPos = fraction(px - static_cast<float>(cellX) * pageSize);
    record.zPos = fraction(pz - static_cast<float>(cellZ) * pageSize);

    // A yaw of -90 or 450 degrees is a real direction; out-of-range bytes would wrap silently.
    float wrapped = std::isfinite(yawDegrees) ? std::fmod(yawDegrees, 360.0f) : 0.0f;
    if (wrapped < 0.0f)
        wrapped += 360.0f;
    record.rotation = static_cast<std::uint8_t>(std::min(wrapped / 360.0f * kByteSteps, 254.0f));
    float unit = maximumScale > 0.0f ? (scale - minimumScale) / maximumScale : 0.0f;
    if (!std::isfinite(unit))
        unit = 0.0f;
    record.scale = static_cast<std::uint8_t>(std::clamp(unit, 0.0f, 1.0f) * kByteSteps);
    return static_cast<std::size_t>(cellZ) * static_cast<std::size_t>(width) + static_cast<std::size_t>(cellX);
}

template <typename Record>
void TreeGrid<Record>::add(Ogre::Entity* entity, std::size_t cell, const Record& record)
{
    auto found = std::find_if(grids.begin(), grids.end(), [entity](const EntityGrid& g) { return g.entity == entity; });
    if (found == grids.end())
    {
        grids.push_back({entity, Cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(depth))});
        found = grids.end() - 1;
    }
    found->cells[cell].push_back(record);
}

template <typename Record>
Ogre::Vector3 TreeGrid<Record>::position(std::size_t cell, const Record& record, float y) const
{
    const auto cellX = static_cast<float>(cell % static_cast<std::size_t>(width));
    const auto cellZ = static_cast<float>(cell / static_cast<std::size_t>(width));
    return Ogre::Vector3(gridBounds.left + (cellX + record.xPos / kPositionSteps) * pageSize, y,
                         gridBounds.top + (cellZ + record.zPos / kPositionSteps) * pageSize);
}

template <typename Record>
Ogre::Radian TreeGrid<Record>::yaw(const Record& record)
{
    return Ogre::Degree(record.rotation * kDegreesPerYawStep);
}

template <typename Record>
float TreeGrid<Record>::scale(const Record& record) const
{
    return record.scale * (maximumScale / kByteSteps) + minimumScale;
}

template <typename Record>
bool TreeGrid<Record>::cellAt(int cellX, int cellZ, std::size_t& cell) const
{
    if (cellX < 0 || cellZ < 0 || cellX >= width || cellZ >= depth)
        return false;
    cell = static_cast<std::size_t>(cellZ) * static_cast<std::size_t>(width) + static_cast<std::size_t>(cellX);
    return true;
}

template <typename Record>
Ogre::Vector3 TreeGrid<Record>::cellCentre(int cellX, int cellZ) const
{
    return Ogre::Vector3(gridBounds.left + (static_cast<float>(cellX) + 0.5f) * pageSize, 0.0f,
                         gridBounds.top + (static_cast<float>(cellZ) + 0.5f) * pageSize);
}

template <typename Record>
std::vector<Ogre::Vector3> TreeGrid<Record>::erase(float x, float z, float radius, Ogre::Entity* entity)
{
    std::vector<Ogre::Vector3> touched;
    const auto cellOf = [this](float offset) { return static_cast<int>(std::floor(offset / pageSize)); };
    const int x0 = cellOf(x - radius - gridBounds.left), x1 = cellOf(x + radius - gridBounds.left);
    const int z0 = cellOf(z - radius - gridBounds.top), z1 = cellOf(z + radius - gridBounds.top);
    const float radiusSq = radius * radius;
    for (int cz = z0; cz <= z1; ++cz)
        for (int cx = x0; cx <= x1; ++cx)
        {
            std::size_t cell = 0;
            if (!cellAt(cx, cz, cell))
                continue;
            bool erased = false;
            for (EntityGrid& grid : grids)
            {
                if (entity && grid.entity != entity)
                    continue;
                std::vector<Record>& records = grid.cells[cell];
                for (std::size_t i = 0; i < records.size();)
                {
                    const Ogre::Vector3 at = position(cell, records[i], 0.0f);
                    const float dx = at.x - x, dz = at.z - z;
                    if (dx * dx + dz * dz <= radiusSq)
                    {
                        records[i] = records.back();  // order is not kept
                        records.pop_back();
                        erased = true;
                    }
                    else
                        ++i;
                }
            }
            if (erased)
                touched.push_back(cellCentre(cx, cz));
        }
    return touched;
}

template class TreeGrid<TreeRecord2D>;
template class TreeGrid<TreeRecord3D>;
