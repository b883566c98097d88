// A cell quad of the editor's track pane.
#include "gui/TrackGridQuad.h"

#include <OGRE/OgreResourceGroupManager.h>

int TrackGridQuad::counter = 0;

TrackGridQuad::TrackGridQuad(EditorTrackObject::GridSlot cell, Ogre::SceneNode* parent, float width, float height,
                             float x, float y, float z)
    : quad("TrackGridQuad" + std::to_string(counter++), CellQuad::Layers::PictureAndOverlay, parent, width, height,
           x, y, z),
      cell(cell)
{
    refresh();
}

void TrackGridQuad::setCellSlot(EditorTrackObject::GridSlot newCell)
{
    cell = newCell;
    refresh();
}

void TrackGridQuad::setPreview(const std::string& textureName, const TileTextureRect& rect)
{
    previewTexture = textureName;
    if (!textureName.empty())
        previewRect = rect;
    refresh();
}

std::string TrackGridQuad::overlayFor(int checkPointNumber)
{
    const std::string picture = "Overlay_" + std::to_string(checkPointNumber) + ".png";
    Ogre::ResourceGroupManager* groups = Ogre::ResourceGroupManager::getSingletonPtr();
    // Numbers past the pictures made for them show the tile alone.
    if (groups && !groups->resourceExistsInAnyGroup(picture))
        return CellQuad::kClear;
    return picture;
}

void TrackGridQuad::refresh()
{
    if (!previewTexture.empty())
    {
        quad.showPart(previewRect);
        quad.setPicture(previewTexture);
        quad.setOverlay(CellQuad::kClear);
        return;
    }
    const EditorTrackObject* tile = getCellPiece();
    if (tile)
    {
        pictureTexture = tile->getPictureName();
        quad.showPart(tile->getTextureRectForCell(cell));
        overlayTexture = tile->isCheckPoint() ? overlayFor(tile->getCheckPointNumber()) : CellQuad::kClear;
    }
    else
    {
        pictureTexture = overlayTexture = CellQuad::kClear;
    }
    quad.setPicture(pictureTexture);
    quad.setOverlay(overlayTexture);
}
