// Editor tiles: rotation, grid back-pointers and the picture piece of each cell.
#include "track/EditorTrackObject.h"

#include "track/TrackObjectDesc.h"

#include <algorithm>
#include <utility>

EditorTrackObject::EditorTrackObject(const TrackObjectDesc& desc, int quarterTurns)
    : pictureName(desc.pictureName),
      meshName(desc.graphicMeshes[0]),
      name(desc.name),
      width(desc.width),
      height(desc.height),
      originalWidth(desc.width),
      originalHeight(desc.height),
      start(desc.start),
      finish(desc.finish),
      checkPoint(desc.checkpoint),
      clear(desc.clear)
{
    for (int i = 0; i < quarterTurns; ++i)
        rotate();
}

EditorTrackObject::EditorTrackObject(const EditorTrackObject& other)
    : pictureName(other.pictureName),
      meshName(other.meshName),
      name(other.name),
      width(other.width),
      height(other.height),
      originalWidth(other.originalWidth),
      originalHeight(other.originalHeight),
      rotation(other.rotation),
      start(other.start),
      finish(other.finish),
      checkPoint(other.checkPoint),
      clear(other.clear),
      checkPointNumber(other.checkPointNumber)
{
}

EditorTrackObject::~EditorTrackObject()
{
    clearBackPointers();
}

void EditorTrackObject::rotate()
{
    rotation = (rotation + 1) % 4;
    std::swap(width, height);
}

void EditorTrackObject::resetRotation()
{
    rotation = 0;
    width = originalWidth;
    height = originalHeight;
}

void EditorTrackObject::addBackPointer(GridSlot slot)
{
    backPointers.push_back(slot);
}

EditorTrackObject::GridSlot EditorTrackObject::getFirstCell() const
{
    return backPointers.empty() ? nullptr : backPointers.front();
}

void EditorTrackObject::clearBackPointers()
{
    for (GridSlot slot : backPointers)
    {
        // Only a cell still showing this tile is emptied; another tile may have taken it.
        if (slot && *slot == this)
            *slot = nullptr;
    }
    backPointers.clear();
}

TileTextureRect EditorTrackObject::getCellTextureRect(int index) const
{
    // A tile without a footprint shows its whole picture rather than divide by zero.
    if (width <= 0 || height <= 0)
        return TileTextureRect(0.0f, 0.0f, 1.0f, 1.0f, false);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float a = static_cast<float>(index / height);
    const float b = static_cast<float>(index % height);
    switch (rotation)
    {
    case 1: return TileTextureRect(b / h, 1 - a / w, (b + 1) / h, 1 - (a + 1) / w, true);
    case 2: return TileTextureRect(1 - a / w, 1 - b / h, 1 - (a + 1) / w, 1 - (b + 1) / h, false);
    case 3: return TileTextureRect(1 - b / h, a / w, 1 - (b + 1) / h, (a + 1) / w, true);
    default: return TileTextureRect(a / w, b / h, (a + 1) / w, (b + 1) / h, false);
    }
}

TileTextureRect EditorTrackObject::getTextureRectForCell(GridSlot slot) const
{
    const auto found = std::find(backPointers.begin(), backPointers.end(), slot);
    if (found == backPointers.end())
        return TileTextureRect(0.0f, 0.0f, 1.0f, 1.0f, false);
    return getCellTextureRect(static_cast<int>(found - backPointers.begin()));
}
