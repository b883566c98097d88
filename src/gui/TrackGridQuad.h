// One visible cell of the editor's track pane: a textured quad in the GUI scene showing its
// part of the tile in the cell it is bound to, the checkpoint number over it, or the brush's
// hover preview.
#pragma once

#include "track/EditorTrackObject.h"
#include "track/TileTextureRect.h"

#include <string>

namespace Ogre
{
class ManualObject;
class SceneNode;
class TextureUnitState;
}

class TrackGridQuad
{
public:
    TrackGridQuad(EditorTrackObject::GridSlot cell, Ogre::SceneNode* parent, float width, float height, float x,
                  float y, float z);
    TrackGridQuad(const TrackGridQuad&) = delete;
    TrackGridQuad& operator=(const TrackGridQuad&) = delete;
    ~TrackGridQuad();

    void setCellSlot(EditorTrackObject::GridSlot cell);
    EditorTrackObject::GridSlot getCellSlot() const { return cell; }
    EditorTrackObject* getCellPiece() const { return cell ? *cell : nullptr; }
    Ogre::SceneNode* getNode() const { return node; }
    // An empty name removes the preview.
    void setPreview(const std::string& textureName, const TileTextureRect& rect);
    bool hasPreview() const { return !previewTexture.empty(); }
    void refresh();
    void clear();

    const std::string& getPictureTexture() const { return pictureTexture; }
    const std::string& getOverlayTexture() const { return overlayTexture; }
    // The serial number of the next quad's name; the grid starts it at 0.
    static void resetCounter() { counter = 0; }
    // The checkpoint number's picture; the see-through one for a number without a picture.
    static std::string overlayFor(int checkPointNumber);

private:
    void build(const TileTextureRect& rect);

    Ogre::SceneNode* parent;
    Ogre::ManualObject* object = nullptr;
    Ogre::SceneNode* node = nullptr;
    Ogre::TextureUnitState* pictureUnit = nullptr;
    Ogre::TextureUnitState* overlayUnit = nullptr;
    float width, height, x, y, z;
    EditorTrackObject::GridSlot cell;
    std::string pictureTexture = "transparent.png";
    std::string overlayTexture = "transparent.png";
    std::string previewTexture;
    TileTextureRect previewRect{0, 0, 1, 1, false};
    std::string name;
    static int counter;
};
