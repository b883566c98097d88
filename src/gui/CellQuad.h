// One cell of an editor pane as the GUI scene draws it: a textured quad with its own scene
// object, node and material, showing a part of a picture, with an overlay over it if wanted.
#pragma once

#include "track/TileTextureRect.h"

#include <string>

namespace Ogre
{
class ManualObject;
class SceneNode;
class TextureUnitState;
}

class CellQuad
{
public:
    // The picture alone, or the picture under an overlay that always spans the whole quad.
    enum class Layers
    {
        Picture,
        PictureAndOverlay,
    };
    // The see-through texture a layer shows when it shows nothing (the engine refuses "").
    static constexpr const char* kClear = "transparent.png";

    // Makes the object `name` and its node `name_node` at (x, y, z) under parent, and the material
    // `name_material` unless an earlier quad of the name left it. width, height: world units.
    CellQuad(const std::string& name, Layers layers, Ogre::SceneNode* parent, float width, float height, float x,
             float y, float z);
    CellQuad(const CellQuad&) = delete;
    CellQuad& operator=(const CellQuad&) = delete;
    // Removes the object and its node; the material stays for the next quad of the name, clear.
    ~CellQuad();

    Ogre::SceneNode* getNode() const { return node; }
    // The part of the picture the quad shows; a swapped part is transposed on the quad.
    void showPart(const TileTextureRect& rect);
    // Sets a layer's texture; the same name again costs nothing.
    void setPicture(const std::string& texture);
    void setOverlay(const std::string& texture);

private:
    Ogre::SceneNode* parent;
    Ogre::ManualObject* object = nullptr;
    Ogre::SceneNode* node = nullptr;
    Ogre::TextureUnitState* pictureUnit = nullptr;
    Ogre::TextureUnitState* overlayUnit = nullptr;  // null without an overlay
    float width, height;                            // world units
};
