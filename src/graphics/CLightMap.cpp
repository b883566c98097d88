// Lightmaps: construction, texture, material and the exchange with grey pictures.
#include "graphics/CLightMap.h"

#include "LogStream.h"
#include "graphics/PhysicsLightRayCaster.h"
#include "graphics/TextureFiltering.h"
#include "graphics/ToyColour.h"
#include "graphics/ToyPictureFloatGrey.h"
#include "graphics/ToyPictureGrey.h"

#include <CImg.h>
#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureManager.h>

#include <cstring>

std::uint32_t CLightMap::nameCounter = 0;
Ogre::Vector3 CLightMap::defaultLightDirection = LightMapBakeParameters().lightDirection;
float CLightMap::defaultSurfaceOffset = LightMapBakeParameters().surfaceOffset;
bool CLightMap::defaultRecordHits = LightMapBakeParameters().recordHits;

namespace
{
constexpr int kLightChannel = 0;
constexpr int kCoverageChannel = 1;

// Textures can only be made while a render system runs (not in offline tools and tests).
bool canMakeTextures()
{
    Ogre::Root* root = Ogre::Root::getSingletonPtr();
    return root && root->getRenderSystem() && Ogre::TextureManager::getSingletonPtr();
}
}

LightMapBakeParameters CLightMap::defaultParameters()
{
    LightMapBakeParameters parameters;
    parameters.lightDirection = defaultLightDirection;
    parameters.surfaceOffset = defaultSurfaceOffset;
    parameters.recordHits = defaultRecordHits;
    return parameters;
}

CLightMap::CLightMap(PhysicBase* physics, Ogre::SubEntity* subEntity, int size, bool blankMaterial,
                     const LightMapBakeParameters& parameters)
{
    ownRays = std::make_unique<PhysicsLightRayCaster>(physics);
    rays = physics ? ownRays.get() : nullptr;
    construct(subEntity, size, blankMaterial, parameters);
}

CLightMap::CLightMap(PhysicBase* physics, Ogre::SubEntity* subEntity, float texelsPerUnit, int size,
                     bool blankMaterial, const LightMapBakeParameters& parameters)
    : CLightMap(physics, subEntity, size, blankMaterial, parameters)
{
    this->texelsPerUnit = texelsPerUnit;
    compute();
}

CLightMap::CLightMap(LightRayCaster* rays, Ogre::SubEntity* subEntity, int size, bool blankMaterial,
                     const LightMapBakeParameters& parameters)
    : rays(rays)
{
    construct(subEntity, size, blankMaterial, parameters);
}

void CLightMap::construct(Ogre::SubEntity* subEntity, int size, bool blankMaterial,
                          const LightMapBakeParameters& parameters)
{
    this->parameters = parameters;
    this->subEntity = subEntity;
    this->size = size;
    this->blankMaterial = blankMaterial;
    name = "LightMap" + std::to_string(nameCounter);
    ++nameCounter;
}

CLightMap::~CLightMap()
{
    // A texture this map loads must not outlive it in the engine: a reload would call back
    // into a loader that is gone. An adopted (cached) texture stays in its cache.
    Ogre::TextureManager* textures = Ogre::TextureManager::getSingletonPtr();
    if (texture && texture->getName() == name && textures && textures->resourceExists(name))
        textures->remove(name);
    // So does its material: every race load makes new ones, and hours of play would pile them up.
    Ogre::MaterialManager* materials = Ogre::MaterialManager::getSingletonPtr();
    if (material && material->getName() == name && materials &&
        materials->resourceExists(name, material->getGroup()))
        materials->remove(name, material->getGroup());
    hitPicture.reset();
    raster.reset();
    material.reset();
    texture.reset();
}

std::uint8_t CLightMap::lightAt(int x, int y) const
{
    return raster ? (*raster)(x, y, 0, kLightChannel) : 0;
}

bool CLightMap::isCovered(int x, int y) const
{
    return raster && (*raster)(x, y, 0, kCoverageChannel) != 0;
}

void CLightMap::createTexture()
{
    if (parameters.recordHits && !hitPicture)
        hitPicture = std::make_unique<ToyPictureFloatGrey>(size, size);
    if (raster || size <= 0)
        return;
    raster = std::make_shared<Raster>(size, size, 1, 2, 0);
    if (!canMakeTextures())
        return;
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    if (textures.resourceExists(name))
        textures.remove(name);
    texture = textures.createManual(name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::TEX_TYPE_2D,
                                    size, size, Ogre::MIP_DEFAULT, Ogre::PF_L8, Ogre::TU_DEFAULT, this);
}

void CLightMap::createMaterial()
{
    if (material || !subEntity)
        return;
    if (!texture)
        createTexture();
    if (!texture)
    {
        debugLog() << "Lightmap " << name << ": no texture (size " << size << "), so no lightmapped material"
                   << std::endl;
        return;
    }
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (materials.resourceExists(name))
        materials.remove(name);
    if (blankMaterial)
        material = materials.create(name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    else
        material = subEntity->getMaterial()->clone(name);
    // By the texture itself: a cached texture lives in its cache's group, not the material's.
    Ogre::TextureUnitState* unit = material->getTechnique(0)->getPass(0)->createTextureUnitState();
    unit->setTexture(texture);
    unit->setTextureCoordSet(static_cast<unsigned short>(uvSet));
    unit->setColourOperation(Ogre::LBO_MODULATE);
    unit->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
    applyTextureFiltering(*material, parameters.anisotropy);
    subEntity->setMaterialName(name, material->getGroup());
}

void CLightMap::setTexture(const Ogre::TexturePtr& cached)
{
    uvSet = findLightmapUvSet();
    texture = cached;
}

bool CLightMap::saveToPicture(ToyPictureGrey* picture) const
{
    if (!raster || !picture)
        return false;
    picture->resize(size, size, false);
    std::memcpy(picture->getGreyData(), raster->data(0, 0, 0, kLightChannel), static_cast<std::size_t>(size) * size);
    return true;
}

bool CLightMap::copyToPicture(ToyPicture* picture) const
{
    if (!raster || !picture)
        return false;
    picture->resize(size, size, false);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            picture->setColour(x, y, ToyColour(lightAt(x, y), static_cast<std::uint8_t>(255)));
    return true;
}

bool CLightMap::loadFromPicture(ToyPictureGrey* picture)
{
    if (!texture)
        createTexture();
    if (!raster || !picture)
    {
        debugLog() << "Lightmap " << name << ": nothing to load a picture into (size " << size << ")" << std::endl;
        return false;
    }
    uvSet = findLightmapUvSet();
    picture->resize(size, size, true);
    std::memcpy(raster->data(0, 0, 0, kLightChannel), picture->getGreyData(), static_cast<std::size_t>(size) * size);
    return true;
}

void CLightMap::loadResource(Ogre::Resource* resource)
{
    auto* target = static_cast<Ogre::Texture*>(resource);
    target->createInternalResources();
    const Ogre::HardwarePixelBufferSharedPtr& buffer = target->getBuffer(0, 0);
    if (!buffer || !raster)
        return;
    buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
    const Ogre::PixelBox& box = buffer->getCurrentLock();
    const std::size_t pixelBytes = Ogre::PixelUtil::getNumElemBytes(box.format);
    const int width = static_cast<int>(box.getWidth());
    // Packed by the buffer's real format and row pitch, whatever was asked for.
    for (int y = 0; y < width; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const std::uint8_t light = lightAt(std::min(x, size - 1), std::min(y, size - 1));
            Ogre::uchar* target = box.data + (static_cast<std::size_t>(y) * box.rowPitch + x) * pixelBytes;
            Ogre::PixelUtil::packColour(light, light, light, 255, box.format, target);
        }
    }
    buffer->unlock();
}
