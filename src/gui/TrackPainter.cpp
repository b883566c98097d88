// Placing tiles on the editor's track.
#include "gui/TrackPainter.h"

#include <algorithm>

bool TrackPainter::place(const EditorTrackObject& brush, int column, int row)
{
    if (!cells.fits(column, row, brush.getWidth(), brush.getHeight()))
        return false;
    std::unique_ptr<EditorTrackObject> tile;
    if (!brush.isClear())
    {
        tile = std::make_unique<EditorTrackObject>(brush);
        cells.removeDuplicateStartFinish(*tile);
    }
    for (int c = 0; c < brush.getWidth(); ++c)
    {
        for (int r = 0; r < brush.getHeight(); ++r)
        {
            EditorTrackObject* old = cells.at(column + c, row + r);
            if (!old)
                continue;
            if (old->isCheckPoint())
            {
                cells.renumberCheckpoints(old->getCheckPointNumber());
                // A hand-edited file may repeat a number; never hand out 0 or less.
                nextCheckpoint = std::max(1, nextCheckpoint - 1);
            }
            cells.remove(old);
        }
    }
    if (tile && tile->isCheckPoint())
        tile->setCheckPointNumber(nextCheckpoint++);
    cells.put(std::move(tile), column, row);
    return true;
}

bool TrackPainter::paint(const EditorTrackObject& brush, int column, int row)
{
    for (int c = 0; c < brush.getWidth(); ++c)
    {
        for (int r = 0; r < brush.getHeight(); ++r)
        {
            const EditorTrackObject* held = cells.at(column + c, row + r);
            if (held && held->getName() == brush.getName())
                return false;
        }
    }
    return place(brush, column, row);
}
