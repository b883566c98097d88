// A cell quad of the editor's tile palette.
#include "gui/SelectorGridQuad.h"

#include <OGRE/Ogre.h>

int SelectorGridQuad::counter = 0;

namespace
{
const char* const kClear = "transparent.png";
}

SelectorGridQuad::SelectorGridQuad(EditorTrackObject::GridSlot slot, Ogre::SceneNode* parent, float width,
                                   float height, float x, float y, float z)
    : parent(parent), width(width), height(height), slot(slot)
{
    name = "SelectorGridQuad" + std::to_string(counter++);
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
        pass->createTextureUnitState(kClear, 0)->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
    }
    unit = material->getTechnique(0)->getPass(0)->getTextureUnitState(0);

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
    }
    object->end();
    node->attachObject(object);
    node->translate(x, y, z, Ogre::Node::TS_PARENT);
    updateTexture();
}

SelectorGridQuad::~SelectorGridQuad()
{
    if (!object)
        return;
    if (unit)
        unit->setTextureName(kClear);  // the engine refuses an empty name
    node->detachAllObjects();
    parent->removeAndDestroyChild(node);
    parent->getCreator()->destroyManualObject(object);
}

void SelectorGridQuad::setSlot(EditorTrackObject::GridSlot newSlot)
{
    slot = newSlot;
    updateTexture();
}

void SelectorGridQuad::updateTexture()
{
    const EditorTrackObject* tile = getTile();
    texture = tile ? tile->getPictureName() : kClear;
    if (unit && unit->getTextureName() != texture)
        unit->setTextureName(texture);
    if (!tile)
        return;
    // Palette tiles are never turned: the rectangle is never swapped.
    const TileTextureRect rect = tile->getTextureRectForCell(slot);
    const float corners[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    const float uv[4][2] = {{rect.u1, rect.v1}, {rect.u1, rect.v2}, {rect.u2, rect.v1}, {rect.u2, rect.v2}};
    object->beginUpdate(0);
    for (int i = 0; i < 4; ++i)
    {
        object->position(corners[i][0] * width, corners[i][1] * height, 0);
        object->normal(0, 0, -1);
        object->textureCoord(uv[i][0], uv[i][1]);
    }
    object->end();
}
