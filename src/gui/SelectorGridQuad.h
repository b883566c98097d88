// One visible cell of the editor's tile palette: a quad in the GUI scene showing its part of
// the picture of the tile in the slot it is bound to.
#pragma once

#include "track/EditorTrackObject.h"

#include <string>

namespace Ogre
{
class ManualObject;
class SceneNode;
class TextureUnitState;
}

class SelectorGridQuad
{
public:
    SelectorGridQuad(EditorTrackObject::GridSlot slot, Ogre::SceneNode* parent, float width, float height, float x,
                     float y, float z);
    SelectorGridQuad(const SelectorGridQuad&) = delete;
    SelectorGridQuad& operator=(const SelectorGridQuad&) = delete;
    ~SelectorGridQuad();

    void setSlot(EditorTrackObject::GridSlot slot);
    EditorTrackObject::GridSlot getSlot() const { return slot; }
    EditorTrackObject* getTile() const { return slot ? *slot : nullptr; }
    Ogre::SceneNode* getNode() const { return node; }
    const std::string& getTexture() const { return texture; }
    void updateTexture();
    static void resetCounter() { counter = 0; }

private:
    Ogre::SceneNode* parent;
    Ogre::ManualObject* object = nullptr;
    Ogre::SceneNode* node = nullptr;
    Ogre::TextureUnitState* unit = nullptr;
    float width, height;
    EditorTrackObject::GridSlot slot;
    std::string texture = "transparent.png";
    std::string name;
    static int counter;
};
