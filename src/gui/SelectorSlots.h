// The tile palette's slots: every tile of the catalogue at the place its description names,
// on pages of visible rows, and which page is shown. Knows nothing of the screen.
#pragma once

#include "gui/EditorPane.h"
#include "track/EditorTrackObject.h"
#include "track/TrackObjectDesc.h"

#include <memory>
#include <string>
#include <vector>

class SelectorSlots
{
public:
    SelectorSlots(int slotColumns, int slotRows, int visibleColumns, int visibleRows);
    SelectorSlots(const SelectorSlots&) = delete;
    SelectorSlots& operator=(const SelectorSlots&) = delete;
    ~SelectorSlots();

    // Makes one tile per description, in name order, at its column, row + visible rows x page.
    // A later tile takes the slots of an earlier one, which leaves the palette; a place
    // outside the slots is skipped with the reason in skipped.
    void load(const TrackObjectDescs& catalogue, std::vector<std::string>& skipped);

    // The tile in a slot; null for an empty slot or one outside.
    EditorTrackObject* at(int column, int row) const;
    EditorTrackObject::GridSlot slot(int column, int row);
    // The tile shown at a visible position, through the offsets; null when none.
    EditorTrackObject* shownAt(int column, int row) const;
    // The visible position of the tile's first slot; none when that is not on the shown page.
    PaneCell shownCellOf(const EditorTrackObject& tile) const;

    int getColumnOffset() const { return columnOffset; }
    int getRowOffset() const { return rowOffset; }
    // One page up or down; false (offset kept) at the first or last page. The number of rows
    // moved (old offset - new offset) goes to movedRows.
    bool scrollUp(int& movedRows);
    bool scrollDown(int& movedRows);

private:
    bool contains(int column, int row) const;
    std::size_t index(int column, int row) const
    {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(slotRows) + static_cast<std::size_t>(row);
    }
    bool moveTo(int newRowOffset, int& movedRows);

    int slotColumns, slotRows, visibleColumns, visibleRows;
    int columnOffset = 0;
    int rowOffset = 0;
    std::vector<EditorTrackObject*> slots;  // [column][row], never resized
    std::vector<std::unique_ptr<EditorTrackObject>> tiles;
};
