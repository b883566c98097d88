// Walks every tree of a loader: entity by entity, cells with x running fastest, records in
// order. TreeIterator3D and TreeIterator2D are its two forms.
#pragma once

#include "paging/TreeGrid.h"

#include <functional>

class TreeLoader2D;
class TreeLoader3D;

template <typename Record>
class TreeIterator
{
public:
    // The height of a record decoded at (x, z).
    using Height = std::function<float(const Record&, float x, float z)>;

    TreeIterator(const TreeGrid<Record>& grid, Height height);

    // False once every tree was returned; an empty loader has none from the start.
    bool hasMoreElements() const { return hasMore; }
    const TreeRef& peekNext() const;
    TreeRef getNext();
    // Throws the engine's invalid-state exception past the last tree.
    void moveNext();

private:
    bool findFromHere();  // from the current position on, the next non-empty record
    TreeRef read() const;

    const TreeGrid<Record>& grid;
    Height height;
    std::size_t entity = 0;
    std::size_t cell = 0;
    std::size_t record = 0;
    bool hasMore = false;
    TreeRef current;
};

class TreeIterator3D : public TreeIterator<TreeRecord3D>
{
public:
    explicit TreeIterator3D(const TreeLoader3D& loader);
};

class TreeIterator2D : public TreeIterator<TreeRecord2D>
{
public:
    explicit TreeIterator2D(const TreeLoader2D& loader);
};
