// The track the editor builds: a field of cells, each empty or showing a placed tile; a tile
// covers its whole footprint. Knows nothing of the screen, so it is tested without a window.
#pragma once

#include "XMLParser.h"
#include "track/EditorTrackObject.h"
#include "track/MapEntry.h"
#include "track/TrackObjectDesc.h"

#include <memory>
#include <string>
#include <vector>

class TrackCells
{
public:
    TrackCells(int columns, int rows);
    TrackCells(const TrackCells&) = delete;
    TrackCells& operator=(const TrackCells&) = delete;
    ~TrackCells();

    int getColumns() const { return columns; }
    int getRows() const { return rows; }
    bool contains(int column, int row) const;
    // Every cell of the footprint lies on the field.
    bool fits(int column, int row, int width, int height) const;
    // The tile in the cell; null for an empty cell or one off the field.
    EditorTrackObject* at(int column, int row) const;
    // The cell's address, which a tile registers; null off the field.
    EditorTrackObject::GridSlot slot(int column, int row);

    // Takes the tile and stores it in every cell of its footprint from (column, row),
    // registering the cells column by column, row by row. The footprint must fit and be empty.
    void put(std::unique_ptr<EditorTrackObject> tile, int column, int row);
    // Deletes a placed tile, which empties every cell it covered.
    void remove(EditorTrackObject* tile);
    void clear();
    // A new start removes every placed start, a new finish every placed finish.
    void removeDuplicateStartFinish(const EditorTrackObject& tile);
    // Closes the gap a removed checkpoint leaves: higher numbers go down by one.
    void renumberCheckpoints(int removedNumber);
    // A start, a finish and at least one checkpoint.
    bool isValid() const;
    // Each tile once with its first cell, by column then row, as the track file lists them.
    PlacedEditorTiles placedTiles() const;
    std::size_t tileCount() const { return tiles.size(); }

    // Replaces the field by the entries; an entry naming no known tile, reaching off the
    // field or overlapping an earlier one is skipped, with the reason in skipped.
    // Returns the highest checkpoint number, 0 when there is none.
    int load(const MapEntries& entries, const TrackObjectDescs& catalogue, std::vector<std::string>& skipped);

private:
    std::size_t index(int column, int row) const
    {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(row);
    }
    bool isEmpty(int column, int row, int width, int height) const;

    int columns;
    int rows;
    std::vector<EditorTrackObject*> cells;  // [column][row]; never resized, tiles keep addresses
    std::vector<std::unique_ptr<EditorTrackObject>> tiles;
};
