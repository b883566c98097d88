// A cell quad of the editor's tile palette.
#include "gui/SelectorGridQuad.h"

int SelectorGridQuad::counter = 0;

SelectorGridQuad::SelectorGridQuad(EditorTrackObject::GridSlot slot, Ogre::SceneNode* parent, float width,
                                   float height, float x, float y, float z)
    : quad("SelectorGridQuad" + std::to_string(counter++), CellQuad::Layers::Picture, parent, width, height, x, y, z),
      slot(slot)
{
    updateTexture();
}

void SelectorGridQuad::setSlot(EditorTrackObject::GridSlot newSlot)
{
    slot = newSlot;
    updateTexture();
}

void SelectorGridQuad::updateTexture()
{
    const EditorTrackObject* tile = getTile();
    texture = tile ? tile->getPictureName() : CellQuad::kClear;
    quad.setPicture(texture);
    // Palette tiles are never turned: their parts are never swapped.
    if (tile)
        quad.showPart(tile->getTextureRectForCell(slot));
}
