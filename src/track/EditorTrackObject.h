// A tile as the track editor handles it: what it needs of the tile type, plus its
// rotation, turned footprint, checkpoint number and the grid cells that show it.
#pragma once

#include "track/TileTextureRect.h"

#include <string>
#include <vector>

struct TrackObjectDesc;

class EditorTrackObject
{
public:
    // A grid cell of the editor: it holds a pointer to the tile shown there.
    using GridSlot = EditorTrackObject**;

    EditorTrackObject(const TrackObjectDesc& desc, int quarterTurns);
    // Copies everything but the grid cells, which start empty.
    EditorTrackObject(const EditorTrackObject& other);
    EditorTrackObject& operator=(const EditorTrackObject&) = delete;
    // Empties the grid cells that still show this tile.
    ~EditorTrackObject();

    void rotate();
    void resetRotation();

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getOriginalWidth() const { return originalWidth; }
    int getOriginalHeight() const { return originalHeight; }
    int getRotation() const { return rotation; }
    const std::string& getName() const { return name; }
    const std::string& getMeshName() const { return meshName; }
    const std::string& getPictureName() const { return pictureName; }
    int getCheckPointNumber() const { return checkPointNumber; }
    bool isStart() const { return start; }
    bool isFinish() const { return finish; }
    bool isCheckPoint() const { return checkPoint; }
    bool isClear() const { return clear; }
    void setStart(bool value) { start = value; }
    void setFinish(bool value) { finish = value; }
    void setCheckPoint(bool value) { checkPoint = value; }
    void setClear(bool value) { clear = value; }
    void setCheckPointNumber(int number) { checkPointNumber = number; }

    // Registers the grid cells in footprint order: column by column, row by row.
    void addBackPointer(GridSlot slot);
    // The first registered cell (the tile's first footprint cell), or null.
    GridSlot getFirstCell() const;
    void clearBackPointers();

    // The picture rectangle of footprint cell index (column * height + row).
    TileTextureRect getCellTextureRect(int index) const;
    // The rectangle of a registered cell; the whole picture for a cell not registered.
    TileTextureRect getTextureRectForCell(GridSlot slot) const;

private:
    std::string pictureName;
    std::string meshName;
    std::vector<GridSlot> backPointers;
    std::string name;
    int width = 1;
    int height = 1;
    int originalWidth = 1;
    int originalHeight = 1;
    int rotation = 0;
    bool start = false;
    bool finish = false;
    bool checkPoint = false;
    bool clear = false;
    int checkPointNumber = -1;
};
