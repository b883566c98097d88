// Where the editor's panes lie on the screen and which of their cells the pointer is over;
// the scroll window onto the track and the part of the terrain picture behind it.
#pragma once

struct PaneCell
{
    int column = -1;  // -1 for none
    int row = -1;
    bool isNone() const { return column < 0 || row < 0; }
};

// A pane of columns x rows equal cells, in fractions of the window from its top-left corner.
struct EditorPane
{
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    int columns = 1;
    int rows = 1;

    // The cell under the point (fractions of the window); none outside the pane.
    PaneCell cellAt(float x, float y) const;
};

// The first cell a scroll window shows: the position (clamped to 0..1) over the cells the
// window can move across, rounded to the nearest cell.
int scrollOffset(int cells, int visibleCells, float position);

// A footprint of width x height at (column, row) lies wholly inside the visible window.
bool fitsWindow(int column, int row, int width, int height, int visibleColumns, int visibleRows);

// The terrain picture behind the grid: the part under the shown cells, the track lying a
// border of 8/3 cells in from the picture's edge.
struct BackgroundRect
{
    float left, top, right, bottom;
};
BackgroundRect backgroundRect(int scrollColumn, int scrollRow, int columns, int rows, int visibleColumns,
                              int visibleRows);
