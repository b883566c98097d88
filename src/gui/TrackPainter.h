// Laying the brush on the editor's track: what a placed tile replaces, the numbers its
// checkpoints get, and the drag rule that never re-lays a tile of the same kind.
#pragma once

#include "gui/TrackCells.h"

class TrackPainter
{
public:
    explicit TrackPainter(TrackCells& cells) : cells(cells) {}

    // Places a copy of the brush with its first cell at (column, row); the eraser empties the
    // footprint instead. Replaced checkpoints close their gap. False when it does not fit.
    bool place(const EditorTrackObject& brush, int column, int row);
    // As place while dragging: nothing happens where a footprint cell already holds a tile
    // of the brush's name.
    bool paint(const EditorTrackObject& brush, int column, int row);

    // The number the next placed checkpoint receives: 1 on an empty track.
    int getNextCheckpoint() const { return nextCheckpoint; }
    // After a load: one above the track's highest number.
    void setNextCheckpoint(int number) { nextCheckpoint = number; }

private:
    TrackCells& cells;
    int nextCheckpoint = 1;
};
