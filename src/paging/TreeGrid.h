// What the 2D and the 3D tree loaders share: per entity, a grid of cells the size of the
// geometry's pages, each a list of packed tree records, with the packing and unpacking.
#pragma once

#include "paging/TBounds.h"
#include "paging/TreeRecords.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <typename Record>
class TreeGrid
{
public:
    using Cells = std::vector<std::vector<Record>>;
    struct EntityGrid
    {
        Ogre::Entity* entity;
        Cells cells;  // cell (x, z) is element z * width + x
    };

    // bounds widened outward to whole pages of the geometry's grid, which starts at
    // (geometryLeft, geometryTop), and one spare column and row.
    TreeGrid(float geometryLeft, float geometryTop, float pageSize, const TBounds& bounds);

    // False when (x, z) lies outside the actual bounds: such a tree has no cell.
    bool contains(float x, float z) const;
    // Wraps the yaw into [0, 360) and clamps the scale to the range before packing; the
    // position must be contained. Returns the record's cell index.
    std::size_t pack(float x, float z, float yawDegrees, float scale, Record& record) const;
    void add(Ogre::Entity* entity, std::size_t cell, const Record& record);

    Ogre::Vector3 position(std::size_t cell, const Record& record, float y) const;
    static Ogre::Radian yaw(const Record& record);
    float scale(const Record& record) const;
    // The cell of the world point; false outside the grid.
    bool cellAt(int cellX, int cellZ, std::size_t& cell) const;
    Ogre::Vector3 cellCentre(int cellX, int cellZ) const;

    // Erases the records within radius of (x, z), of one entity or of all (null), and
    // returns the centres of the cells that lost any.
    std::vector<Ogre::Vector3> erase(float x, float z, float radius, Ogre::Entity* entity);

    const std::vector<EntityGrid>& getEntityGrids() const { return grids; }
    int getWidth() const { return width; }
    int getDepth() const { return depth; }
    float getPageSize() const { return pageSize; }
    const TBounds& getGridBounds() const { return gridBounds; }
    const TBounds& getActualBounds() const { return actualBounds; }
    float minimumScale = 0.0f;
    float maximumScale = 2.0f;  // the span of the scale range above the minimum

private:
    float pageSize;
    TBounds gridBounds;
    TBounds actualBounds;
    int width = 0;
    int depth = 0;
    std::vector<EntityGrid> grids;  // in the order the entities were first planted
};

extern template class TreeGrid<TreeRecord2D>;
extern template class TreeGrid<TreeRecord3D>;
