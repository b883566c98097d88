// A cell quad of the editor's track pane.
#include "gui/TrackGridQuad.h"

#include <OGRE/Ogre.h>

int TrackGridQuad::counter = 0;

namespace
{
const char* const kClear = "transparent.png";

void setTexture(Ogre::TextureUnitState* unit, const std::string& texture)
{
    if (unit && unit->getTextureName() != texture)
        unit->setTextureName(texture);
}
}

TrackGridQuad::TrackGridQuad(EditorTrackObject::GridSlot cell, Ogre::SceneNode* parent, float width, float height,
                             float x, float y, float z)
    : parent(parent), width(width), height(height), x(x), y(y), z(z), cell(cell)
{
    name = "TrackGridQuad" + std::to_string(counter++);
    Ogre::SceneManager* scene = parent->getCreator();
    object = scene->createManualObject(name);
    node = parent->createChildSceneNode(name + "_node");

    const std::string materialName = name + "_material";
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr material = materials.getByName(materialName);
    if (!material)
    {
        material = materials.create(materialName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
        pass->setDepthWriteEnabled(false);
        pass->setLightingEnabled(false);  // the GUI scene has no lights
        Ogre::TextureUnitState* picture = pass->createTextureUnitState(kClear, 0);
        picture->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
        Ogre::TextureUnitState* overlay = pass->createTextureUnitState(kClear, 1);
        overlay->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
        overlay->setAlphaOperation(Ogre::LBX_BLEND_TEXTURE_ALPHA, Ogre::LBS_TEXTURE, Ogre::LBS_CURRENT);
        overlay->setColourOperation(Ogre::LBO_ALPHA_BLEND);
    }
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pictureUnit = pass->getTextureUnitState(0);
    overlayUnit = pass->getTextureUnitState(1);

    object->setDynamic(true);
    object->estimateVertexCount(4);
    object->estimateIndexCount(4);
    object->begin(materialName, Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    const float corners[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    for (const auto& corner : corners)
    {
        object->position(corner[0] * width, corner[1] * height, 0);
        object->normal(0, 0, -1);
        object->textureCoord(corner[0], corner[1]);
        object->textureCoord(corner[0], corner[1]);
    }
    object->end();
    node->attachObject(object);
    node->translate(x, y, z, Ogre::Node::TS_PARENT);
    refresh();
}

TrackGridQuad::~TrackGridQuad()
{
    clear();
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
        return kClear;
    return picture;
}

void TrackGridQuad::refresh()
{
    if (!object)
        return;
    if (!previewTexture.empty())
    {
        build(previewRect);
        setTexture(pictureUnit, previewTexture);
        setTexture(overlayUnit, kClear);
        return;
    }
    const EditorTrackObject* tile = getCellPiece();
    if (tile)
    {
        pictureTexture = tile->getPictureName();
        build(tile->getTextureRectForCell(cell));
        overlayTexture = tile->isCheckPoint() ? overlayFor(tile->getCheckPointNumber()) : kClear;
    }
    else
    {
        pictureTexture = overlayTexture = kClear;
    }
    setTexture(pictureUnit, pictureTexture);
    setTexture(overlayUnit, overlayTexture);
}

void TrackGridQuad::build(const TileTextureRect& rect)
{
    // Corners (0, 0), (0, h), (w, 0), (w, h); a swapped picture is transposed on the quad.
    const float corner[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    const float lowerLeft[2] = {rect.swapped ? rect.u2 : rect.u1, rect.swapped ? rect.v1 : rect.v2};
    const float upperRight[2] = {rect.swapped ? rect.u1 : rect.u2, rect.swapped ? rect.v2 : rect.v1};
    const float uv[4][2] = {{rect.u1, rect.v1}, {lowerLeft[0], lowerLeft[1]}, {upperRight[0], upperRight[1]},
                            {rect.u2, rect.v2}};
    object->beginUpdate(0);
    for (int i = 0; i < 4; ++i)
    {
        object->position(corner[i][0] * width, corner[i][1] * height, 0);
        object->normal(0, 0, -1);
        object->textureCoord(uv[i][0], uv[i][1]);
        object->textureCoord(corner[i][0], corner[i][1]);
    }
    object->end();
}

void TrackGridQuad::clear()
{
    if (!object)
        return;
    // The material outlives the quad (the next grid reuses it); the engine refuses an empty
    // texture name, so it is left showing nothing.
    setTexture(pictureUnit, kClear);
    setTexture(overlayUnit, kClear);
    Ogre::SceneManager* scene = parent->getCreator();
    node->detachAllObjects();
    parent->removeAndDestroyChild(node);
    scene->destroyManualObject(object);
    object = nullptr;
    node = nullptr;
}
