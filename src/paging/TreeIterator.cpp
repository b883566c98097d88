// The tree iterators.
#include "paging/TreeIterator.h"

#include "paging/TreeLoader2D.h"
#include "paging/TreeLoader3D.h"

#include <OGRE/OgreException.h>

template <typename Record>
TreeIterator<Record>::TreeIterator(const TreeGrid<Record>& treeGrid, Height heightOf)
    : grid(treeGrid), height(std::move(heightOf))
{
    hasMore = findFromHere();
    if (hasMore)
        current = read();
}

template <typename Record>
bool TreeIterator<Record>::findFromHere()
{
    const auto& grids = grid.getEntityGrids();
    for (; entity < grids.size(); ++entity, cell = 0, record = 0)
        for (; cell < grids[entity].cells.size(); ++cell, record = 0)
            if (record < grids[entity].cells[cell].size())
                return true;
    return false;
}

template <typename Record>
TreeRef TreeIterator<Record>::read() const
{
    const auto& entityGrid = grid.getEntityGrids()[entity];
    const Record& packed = entityGrid.cells[cell][record];
    TreeRef tree;
    tree.position = grid.position(cell, packed, 0.0f);
    tree.position.y = height(packed, tree.position.x, tree.position.z);
    tree.yaw = grid.yaw(packed);
    tree.scale = grid.scale(packed);
    tree.entity = entityGrid.entity;
    return tree;
}

template <typename Record>
const TreeRef& TreeIterator<Record>::peekNext() const
{
    if (!hasMore)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_STATE, "Cannot read past end of TreeIterator list",
                    "TreeIterator::peekNext()");
    return current;
}

template <typename Record>
TreeRef TreeIterator<Record>::getNext()
{
    TreeRef tree = peekNext();
    moveNext();
    return tree;
}

template <typename Record>
void TreeIterator<Record>::moveNext()
{
    if (!hasMore)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_STATE, "Cannot read past end of TreeIterator list",
                    "TreeIterator::moveNext()");
    ++record;
    hasMore = findFromHere();
    if (hasMore)
        current = read();
}

template class TreeIterator<TreeRecord2D>;
template class TreeIterator<TreeRecord3D>;

TreeIterator3D::TreeIterator3D(const TreeLoader3D& loader)
    : TreeIterator<TreeRecord3D>(loader.getGrid(), [](const TreeRecord3D& r, float, float) { return r.y; })
{
}

TreeIterator2D::TreeIterator2D(const TreeLoader2D& loader)
    : TreeIterator<TreeRecord2D>(loader.getGrid(),
                                 [&loader](const TreeRecord2D&, float x, float z) { return loader.heightAt(x, z); })
{
}
