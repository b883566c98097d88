// One visible cell of the editor's tile palette: a quad in the GUI scene showing its part of
// the picture of the tile in the slot it is bound to.
#pragma once

#include "gui/CellQuad.h"
#include "track/EditorTrackObject.h"

#include <string>

namespace Ogre
{
class SceneNode;
}

class SelectorGridQuad
{
public:
    SelectorGridQuad(EditorTrackObject::GridSlot slot, Ogre::SceneNode* parent, float width, float height, float x,
                     float y, float z);
    SelectorGridQuad(const SelectorGridQuad&) = delete;
    SelectorGridQuad& operator=(const SelectorGridQuad&) = delete;

    void setSlot(EditorTrackObject::GridSlot slot);
    EditorTrackObject::GridSlot getSlot() const { return slot; }
    EditorTrackObject* getTile() const { return slot ? *slot : nullptr; }
    Ogre::SceneNode* getNode() const { return quad.getNode(); }
    const std::string& getTexture() const { return texture; }
    void updateTexture();
    // The serial number of the next quad's name; the palette starts it at 0.
    static void resetCounter() { counter = 0; }

private:
    CellQuad quad;
    EditorTrackObject::GridSlot slot;
    std::string texture = CellQuad::kClear;
    static int counter;
};
