// One visible cell of the editor's track pane: a textured quad in the GUI scene showing its
// part of the tile in the cell it is bound to, the checkpoint number over it, or the brush's
// hover preview.
#pragma once

#include "gui/CellQuad.h"
#include "track/EditorTrackObject.h"
#include "track/TileTextureRect.h"

#include <string>

namespace Ogre
{
class SceneNode;
}

class TrackGridQuad
{
public:
    TrackGridQuad(EditorTrackObject::GridSlot cell, Ogre::SceneNode* parent, float width, float height, float x,
                  float y, float z);
    TrackGridQuad(const TrackGridQuad&) = delete;
    TrackGridQuad& operator=(const TrackGridQuad&) = delete;

    void setCellSlot(EditorTrackObject::GridSlot cell);
    EditorTrackObject::GridSlot getCellSlot() const { return cell; }
    EditorTrackObject* getCellPiece() const { return cell ? *cell : nullptr; }
    Ogre::SceneNode* getNode() const { return quad.getNode(); }
    // An empty name removes the preview.
    void setPreview(const std::string& textureName, const TileTextureRect& rect);
    bool hasPreview() const { return !previewTexture.empty(); }
    void refresh();

    const std::string& getPictureTexture() const { return pictureTexture; }
    const std::string& getOverlayTexture() const { return overlayTexture; }
    // The serial number of the next quad's name; the grid starts it at 0.
    static void resetCounter() { counter = 0; }
    // The checkpoint number's picture; the see-through one for a number without a picture.
    static std::string overlayFor(int checkPointNumber);

private:
    CellQuad quad;
    EditorTrackObject::GridSlot cell;
    std::string pictureTexture = CellQuad::kClear;
    std::string overlayTexture = CellQuad::kClear;
    std::string previewTexture;
    TileTextureRect previewRect{0, 0, 1, 1, false};
    static int counter;
};
