// The palette's slots and pages.
#include "gui/SelectorSlots.h"

#include <algorithm>

SelectorSlots::SelectorSlots(int slotColumns, int slotRows, int visibleColumns, int visibleRows)
    : slotColumns(slotColumns),
      slotRows(slotRows),
      visibleColumns(visibleColumns),
      visibleRows(visibleRows),
      slots(static_cast<std::size_t>(slotColumns) * static_cast<std::size_t>(slotRows), nullptr)
{
}

SelectorSlots::~SelectorSlots()
{
    tiles.clear();
}

bool SelectorSlots::contains(int column, int row) const
{
    return column >= 0 && row >= 0 && column < slotColumns && row < slotRows;
}

EditorTrackObject* SelectorSlots::at(int column, int row) const
{
    return contains(column, row) ? slots[index(column, row)] : nullptr;
}

EditorTrackObject::GridSlot SelectorSlots::slot(int column, int row)
{
    return contains(column, row) ? &slots[index(column, row)] : nullptr;
}

EditorTrackObject* SelectorSlots::shownAt(int column, int row) const
{
    if (column < 0 || row < 0 || column >= visibleColumns || row >= visibleRows)
        return nullptr;
    return at(columnOffset + column, rowOffset + row);
}

PaneCell SelectorSlots::shownCellOf(const EditorTrackObject& tile) const
{
    const EditorTrackObject::GridSlot first = tile.getFirstCell();
    for (int i = 0; i < visibleColumns; ++i)
        for (int j = 0; j < visibleRows; ++j)
            if (contains(columnOffset + i, rowOffset + j) && &slots[index(columnOffset + i, rowOffset + j)] == first)
                return {i, j};
    return {};
}

void SelectorSlots::load(const TrackObjectDescs& catalogue, std::vector<std::string>& skipped)
{
    for (const auto& [name, desc] : catalogue)
    {
        if (!desc)
            continue;
        const int column = desc->selectorX;
        // 64-bit, so a huge page number can't wrap into the slots.
        const long long row = static_cast<long long>(desc->selectorY) + static_cast<long long>(visibleRows) * desc->selectorPage;
        const bool inside = column >= 0 && row >= 0 && static_cast<long long>(column) + desc->width <= slotColumns &&
                            row + desc->height <= slotRows;
        if (!inside)
        {
            skipped.push_back("tile \"" + name + "\" at x " + std::to_string(desc->selectorX) + ", y " +
                              std::to_string(desc->selectorY) + ", page " + std::to_string(desc->selectorPage) +
                              " lies outside the palette's " + std::to_string(slotColumns) + " x " +
                              std::to_string(slotRows) + " slots");
            continue;
        }
        auto tile = std::make_unique<EditorTrackObject>(*desc, 0);
        const int top = static_cast<int>(row);
        for (int c = 0; c < tile->getWidth(); ++c)
        {
            for (int r = 0; r < tile->getHeight(); ++r)
            {
                EditorTrackObject::GridSlot cell = slot(column + c, top + r);
                if (EditorTrackObject* old = *cell)
                {
                    // The earlier tile leaves all its slots.
                    tiles.erase(std::find_if(tiles.begin(), tiles.end(),
                                             [old](const auto& held) { return held.get() == old; }));
                }
                *cell = tile.get();
                tile->addBackPointer(cell);
            }
        }
        tiles.push_back(std::move(tile));
    }
}

bool SelectorSlots::moveTo(int newRowOffset, int& movedRows)
{
    if (newRowOffset < 0 || newRowOffset > slotRows - visibleRows)
        return false;
    movedRows = rowOffset - newRowOffset;
    rowOffset = newRowOffset;
    return true;
}

bool SelectorSlots::scrollUp(int& movedRows)
{
    return moveTo(visibleRows * (rowOffset / visibleRows - 1), movedRows);
}

bool SelectorSlots::scrollDown(int& movedRows)
{
    return moveTo(visibleRows * (rowOffset / visibleRows + 1), movedRows);
}
