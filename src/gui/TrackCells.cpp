// The editor's track field: placing, removing, numbering and reading tiles.
#include "gui/TrackCells.h"

#include <algorithm>

TrackCells::TrackCells(int columns, int rows)
    : columns(columns), rows(rows), cells(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), nullptr)
{
}

TrackCells::~TrackCells()
{
    clear();
}

bool TrackCells::contains(int column, int row) const
{
    return column >= 0 && row >= 0 && column < columns && row < rows;
}

bool TrackCells::fits(int column, int row, int width, int height) const
{
    return width > 0 && height > 0 && contains(column, row) && column + width <= columns && row + height <= rows;
}

EditorTrackObject* TrackCells::at(int column, int row) const
{
    return contains(column, row) ? cells[index(column, row)] : nullptr;
}

EditorTrackObject::GridSlot TrackCells::slot(int column, int row)
{
    return contains(column, row) ? &cells[index(column, row)] : nullptr;
}

bool TrackCells::isEmpty(int column, int row, int width, int height) const
{
    for (int c = 0; c < width; ++c)
        for (int r = 0; r < height; ++r)
            if (at(column + c, row + r))
                return false;
    return true;
}

void TrackCells::put(std::unique_ptr<EditorTrackObject> tile, int column, int row)
{
    if (!tile || !fits(column, row, tile->getWidth(), tile->getHeight()))
        return;
    for (int c = 0; c < tile->getWidth(); ++c)
    {
        for (int r = 0; r < tile->getHeight(); ++r)
        {
            EditorTrackObject::GridSlot cell = slot(column + c, row + r);
            *cell = tile.get();
            tile->addBackPointer(cell);
        }
    }
    tiles.push_back(std::move(tile));
}

void TrackCells::remove(EditorTrackObject* tile)
{
    const auto found = std::find_if(tiles.begin(), tiles.end(), [tile](const auto& held) { return held.get() == tile; });
    if (found != tiles.end())
        tiles.erase(found);  // the tile's destructor empties its cells
}

void TrackCells::clear()
{
    tiles.clear();
}

void TrackCells::removeDuplicateStartFinish(const EditorTrackObject& tile)
{
    if (!tile.isStart() && !tile.isFinish())
        return;
    tiles.erase(std::remove_if(tiles.begin(), tiles.end(),
                               [&tile](const auto& held) {
                                   return held.get() != &tile && ((tile.isStart() && held->isStart()) ||
                                                                  (tile.isFinish() && held->isFinish()));
                               }),
                tiles.end());
}

void TrackCells::renumberCheckpoints(int removedNumber)
{
    for (const auto& tile : tiles)
        if (tile->isCheckPoint() && tile->getCheckPointNumber() > removedNumber)
            tile->setCheckPointNumber(tile->getCheckPointNumber() - 1);
}

bool TrackCells::isValid() const
{
    bool start = false, finish = false, checkPoint = false;
    for (const auto& tile : tiles)
    {
        // A checkpoint tile counts as a checkpoint only, whatever else it is flagged.
        if (tile->isCheckPoint())
        {
            checkPoint = true;
            continue;
        }
        start = start || tile->isStart();
        finish = finish || tile->isFinish();
    }
    return start && finish && checkPoint;
}

PlacedEditorTiles TrackCells::placedTiles() const
{
    PlacedEditorTiles placed;
    for (int column = 0; column < columns; ++column)
    {
        for (int row = 0; row < rows; ++row)
        {
            const EditorTrackObject* tile = cells[index(column, row)];
            if (tile && tile->getFirstCell() == &cells[index(column, row)])
                placed.emplace_back(tile, Ogre::Vector2(static_cast<float>(column), static_cast<float>(row)));
        }
    }
    return placed;
}

int TrackCells::load(const MapEntries& entries, const TrackObjectDescs& catalogue, std::vector<std::string>& skipped)
{
    clear();
    int highest = 0;
    for (const MapEntry& entry : entries)
    {
        const std::string where = "\"" + entry.name + "\" at " + std::to_string(entry.x) + ", " + std::to_string(entry.y);
        const auto desc = catalogue.find(entry.name);
        if (desc == catalogue.end() || !desc->second)
        {
            skipped.push_back("unknown tile " + where);
            continue;
        }
        auto tile = std::make_unique<EditorTrackObject>(*desc->second, ((entry.rotation % 4) + 4) % 4);
        if (!fits(entry.x, entry.y, tile->getWidth(), tile->getHeight()))
        {
            skipped.push_back("tile " + where + " reaches off the grid");
            continue;
        }
        if (!isEmpty(entry.x, entry.y, tile->getWidth(), tile->getHeight()))
        {
            skipped.push_back("tile " + where + " overlaps an earlier tile");
            continue;
        }
        if (entry.checkpoint >= 0)
        {
            tile->setCheckPoint(true);
            tile->setCheckPointNumber(entry.checkpoint);
            highest = std::max(highest, entry.checkpoint);
        }
        put(std::move(tile), entry.x, entry.y);
    }
    return highest;
}
