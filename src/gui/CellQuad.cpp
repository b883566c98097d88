// A textured cell quad of the editor's panes.
#include "gui/CellQuad.h"

#include <OGRE/Ogre.h>

namespace
{
// The quad's corners in the order of its triangle strip, as fractions of its size.
constexpr float kCorners[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};

void setTexture(Ogre::TextureUnitState* unit, const std::string& texture)
{
    if (unit && unit->getTextureName() != texture)
        unit->setTextureName(texture);
}

Ogre::MaterialPtr findOrCreateMaterial(const std::string& name, CellQuad::Layers layers)
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr material = materials.getByName(name);
    if (material)
        return material;
    material = materials.create(name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    pass->setDepthWriteEnabled(false);
    pass->setLightingEnabled(false);  // the GUI scene has no lights
    pass->createTextureUnitState(CellQuad::kClear, 0)->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
    if (layers == CellQuad::Layers::PictureAndOverlay)
    {
        Ogre::TextureUnitState* overlay = pass->createTextureUnitState(CellQuad::kClear, 1);
        overlay->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
        overlay->setAlphaOperation(Ogre::LBX_BLEND_TEXTURE_ALPHA, Ogre::LBS_TEXTURE, Ogre::LBS_CURRENT);
        overlay->setColourOperation(Ogre::LBO_ALPHA_BLEND);
    }
    return material;
}
}

CellQuad::CellQuad(const std::string& name, Layers layers, Ogre::SceneNode* parent, float width, float height,
                   float x, float y, float z)
    : parent(parent), width(width), height(height)
{
    Ogre::SceneManager* scene = parent->getCreator();
    object = scene->createManualObject(name);
    node = parent->createChildSceneNode(name + "_node");

    const std::string materialName = name + "_material";
    Ogre::Pass* pass = findOrCreateMaterial(materialName, layers)->getTechnique(0)->getPass(0);
    pictureUnit = pass->getTextureUnitState(0);
    if (layers == Layers::PictureAndOverlay)
        overlayUnit = pass->getTextureUnitState(1);

    object->setDynamic(true);
    object->estimateVertexCount(4);
    object->estimateIndexCount(4);
    object->begin(materialName, Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    for (const auto& corner : kCorners)
    {
        object->position(corner[0] * width, corner[1] * height, 0);
        object->normal(0, 0, -1);
        object->textureCoord(corner[0], corner[1]);
        if (overlayUnit)
            object->textureCoord(corner[0], corner[1]);
    }
    object->end();
    node->attachObject(object);
    node->translate(x, y, z, Ogre::Node::TS_PARENT);
}

CellQuad::~CellQuad()
{
    setTexture(pictureUnit, kClear);
    setTexture(overlayUnit, kClear);
    node->detachAllObjects();
    parent->removeAndDestroyChild(node);
    parent->getCreator()->destroyManualObject(object);
}

void CellQuad::setPicture(const std::string& texture)
{
    setTexture(pictureUnit, texture);
}

void CellQuad::setOverlay(const std::string& texture)
{
    setTexture(overlayUnit, texture);
}

void CellQuad::showPart(const TileTextureRect& rect)
{
    const float lowerLeft[2] = {rect.swapped ? rect.u2 : rect.u1, rect.swapped ? rect.v1 : rect.v2};
    const float upperRight[2] = {rect.swapped ? rect.u1 : rect.u2, rect.swapped ? rect.v2 : rect.v1};
    const float coords[4][2] = {{rect.u1, rect.v1}, {lowerLeft[0], lowerLeft[1]}, {upperRight[0], upperRight[1]},
                                {rect.u2, rect.v2}};
    object->beginUpdate(0);
    for (int i = 0; i < 4; ++i)
    {
        object->position(kCorners[i][0] * width, kCorners[i][1] * height, 0);
        object->normal(0, 0, -1);
        object->textureCoord(coords[i][0], coords[i][1]);
        if (overlayUnit)
            object->textureCoord(kCorners[i][0], kCorners[i][1]);
    }
    object->end();
}
