// Pane cells, scrolling and the background window of the editor.
#include "gui/EditorPane.h"

#include <algorithm>
#include <cmath>

PaneCell EditorPane::cellAt(float x, float y) const
{
    if (width <= 0.0f || height <= 0.0f || !(x >= left && y >= top && x < left + width && y < top + height))
        return {};
    const int column = std::min(columns - 1, static_cast<int>((x - left) / width * static_cast<float>(columns)));
    const int row = std::min(rows - 1, static_cast<int>((y - top) / height * static_cast<float>(rows)));
    return {column, row};
}

int scrollOffset(int cells, int visibleCells, float position)
{
    // NaN is treated as 0 (the clamp would pass it through).
    const float clamped = position > 0.0f ? std::min(position, 1.0f) : 0.0f;
    const int range = std::max(0, cells - visibleCells);
    return static_cast<int>(static_cast<float>(range) * clamped + 0.5f);
}

bool fitsWindow(int column, int row, int width, int height, int visibleColumns, int visibleRows)
{
    return column >= 0 && row >= 0 && column < visibleColumns && row < visibleRows &&
           column + width <= visibleColumns && row + height <= visibleRows;
}

BackgroundRect backgroundRect(int scrollColumn, int scrollRow, int columns, int rows, int visibleColumns,
                              int visibleRows)
{
    constexpr float kBorder = 8.0f / 3.0f;  // cells of terrain outside the track's 80 x 80
    const float c = static_cast<float>(columns), r = static_cast<float>(rows);
    return {(static_cast<float>(scrollColumn) + kBorder) / c, (static_cast<float>(scrollRow) + kBorder) / r,
            (static_cast<float>(scrollColumn + visibleColumns) - kBorder) / c,
            (static_cast<float>(scrollRow + visibleRows) - kBorder) / r};
}
