// Impostor atlases: the registry by mesh, the pictures rendered or taken from the cache, and
// the cell materials.
#include "paging/ImpostorTexture.h"

#include "LogStream.h"
#include "paging/GeometryPager.h"
#include "paging/ImpostorAtlasCache.h"
#include "paging/ImpostorPage.h"
#include "paging/ImpostorRenderState.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreImage.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderTexture.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureManager.h>
#include <OGRE/OgreViewport.h>

#include <cmath>
#include <map>

namespace
{
const char* const kGroup = "Impostors";
const char* const kRenderNode = "ImpostorPage::renderNode";
constexpr uint8_t kRenderQueue = 60;  // drawn alone while an atlas is rendered
constexpr float kCameraDistanceRadii = 100.0f;  // nearly parallel projection

// Weak: an atlas goes with the last batch that holds it, and the registry never hands out a
// dead one.
std::map<uint32_t, std::weak_ptr<ImpostorTexture>>& registry()
{
    static std::map<uint32_t, std::weak_ptr<ImpostorTexture>> atlases;
    return atlases;
}

void ensureGroup()
{
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (!groups.resourceGroupExists(kGroup))
        groups.createResourceGroup(kGroup);
}

// Scene objects made for one rendering, destroyed whatever ends it.
struct RenderScaffold
{
    Ogre::SceneManager& sceneMgr;
    Ogre::TexturePtr target;
    Ogre::Camera* camera = nullptr;
    Ogre::SceneNode* cameraNode = nullptr;
    Ogre::Entity* entity = nullptr;
    Ogre::SceneNode* entityNode = nullptr;

    explicit RenderScaffold(Ogre::SceneManager& manager) : sceneMgr(manager) {}
    ~RenderScaffold()
    {
        if (target)
        {
            target->getBuffer()->getRenderTarget()->removeAllViewports();
            Ogre::TextureManager::getSingleton().remove(target);
        }
        if (entityNode)
            entityNode->detachAllObjects();
        if (entity)
            sceneMgr.destroyEntity(entity);
        if (camera)
            sceneMgr.destroyCamera(camera);
        if (cameraNode)
            sceneMgr.destroySceneNode(cameraNode);
    }
};
}

std::shared_ptr<ImpostorTexture> ImpostorTexture::getTexture(ImpostorPage* page, Ogre::Entity* entity)
{
    const uint32_t key = static_cast<uint32_t>(entity->getMesh()->getHandle());
    auto found = registry().find(key);
    if (found != registry().end())
        if (std::shared_ptr<ImpostorTexture> atlas = found->second.lock())
            return atlas;
    if (!page)
        return nullptr;
    std::shared_ptr<ImpostorTexture> atlas(new ImpostorTexture(*page, *entity));
    registry()[key] = atlas;
    return atlas;
}

void ImpostorTexture::regenerateAll()
{
    for (auto& entry : registry())
        if (std::shared_ptr<ImpostorTexture> atlas = entry.second.lock())
            atlas->regenerate();
}

size_t ImpostorTexture::registeredCount() { return registry().size(); }

std::string ImpostorTexture::getUniqueID(const std::string& prefix)
{
    static uint32_t counter = 0;
    return prefix + std::to_string(++counter);
}

ImpostorTexture::ImpostorTexture(ImpostorPage& page, Ogre::Entity& entity)
    : sceneMgr(page.getSceneManager()),
      mesh(entity.getMesh()),
      cacheFolder(page.getPager() ? page.getPager()->getImpostorCacheFolder() : std::string()),
      entityKey(static_cast<uint32_t>(entity.getMesh()->getHandle())),
      blended(page.getBlendMode() == ALPHA_BLENDING)
{
    ensureGroup();
    page.renderNode();
    for (size_t i = 0; i < entity.getNumSubEntities(); ++i)
        templateMaterials.push_back(entity.getSubEntity(i)->getMaterial());

    boundingBox = entity.getBoundingBox();
    entityCentre = boundingBox.getCenter();
    const Ogre::Vector3 half = boundingBox.getMaximum() - entityCentre;
    entityRadius = std::max(half.x, std::max(half.y, half.z));
    entityDiameter = 2.0f * entityRadius;
    fileName = ImpostorAtlasCache::fileName(*mesh, ImpostorPage::getImpostorResolution());

    renderTextures(false);

    Ogre::MaterialManager& manager = Ogre::MaterialManager::getSingleton();
    for (int yaw = 0; yaw < kYawCells; ++yaw)
        for (int pitch = 0; pitch < kPitchCells; ++pitch)
        {
            Ogre::MaterialPtr cell = manager.create(getUniqueID("ImpostorMaterial"), kGroup);
            Ogre::Pass* pass = cell->getTechnique(0)->getPass(0);
            Ogre::TextureUnitState* unit = pass->createTextureUnitState();
            unit->setTextureScroll(static_cast<float>(yaw) / kYawCells, static_cast<float>(pitch) / kPitchCells);
            pass->setLightingEnabled(false);
            cell->setReceiveShadows(false);
            if (blended)
            {
                pass->setSceneBlending(Ogre::SBF_SOURCE_ALPHA, Ogre::SBF_ONE_MINUS_SOURCE_ALPHA);
                pass->setDepthWriteEnabled(false);
            }
            else
                pass->setAlphaRejectSettings(Ogre::CMPF_GREATER_EQUAL, 128);
            materials[pitch][yaw] = cell;
        }
    updateMaterials();
}

ImpostorTexture::~ImpostorTexture()
{
    if (texture)
        if (Ogre::TextureManager* textures = Ogre::TextureManager::getSingletonPtr())
            textures->remove(texture);
    if (Ogre::MaterialManager* manager = Ogre::MaterialManager::getSingletonPtr())
        for (auto& row : materials)
            for (Ogre::MaterialPtr& cell : row)
                if (cell)
                    manager->remove(cell);
    auto found = registry().find(entityKey);
    if (found != registry().end() && found->second.expired())
        registry().erase(found);
}

const std::string& ImpostorTexture::getMaterialName(uint16_t pitchIndex, uint16_t yawIndex) const
{
    return materials[pitchIndex % kPitchCells][yawIndex % kYawCells]->getName();
}

void ImpostorTexture::regenerate()
{
    if (texture)
        Ogre::TextureManager::getSingleton().remove(texture);
    texture.reset();
    renderTextures(true);
    updateMaterials();
}

void ImpostorTexture::updateMaterials()
{
    for (auto& row : materials)
        for (Ogre::MaterialPtr& cell : row)
            if (texture)
                cell->getTechnique(0)->getPass(0)->getTextureUnitState(0)->setTexture(texture);
}

void ImpostorTexture::renderTextures(bool force)
{
    const std::string& folder = cacheFolder;
    const uint32_t resolution = ImpostorPage::getImpostorResolution();
    Ogre::Image atlas;
    bool cached = !force && ImpostorAtlasCache::load(folder, fileName, atlas);
    if (cached && (atlas.getWidth() != kYawCells * resolution || atlas.getHeight() != kPitchCells * resolution))
    {
        debugLog() << "Impostor atlas '" << folder << fileName << "' has the wrong size: rendered again" << std::endl;
        cached = false;
    }
    try
    {
        if (!cached)
        {
            renderPictures(atlas);
            const bool kept = ImpostorAtlasCache::save(folder, fileName, atlas);
            debugLog() << "Impostor atlas '" << fileName << "' rendered" << (kept ? " and kept in '" + folder + "'" : "")
                       << std::endl;
        }
        else
            debugLog() << "Impostor atlas '" << fileName << "' taken from '" << folder << "'" << std::endl;
        // Named after the file, and unique: a reloaded mesh may still have its old atlas alive.
        texture = Ogre::TextureManager::getSingleton().loadImage(fileName + "#" + getUniqueID(""), kGroup, atlas,
                                                                 Ogre::TEX_TYPE_2D, Ogre::MIP_UNLIMITED, 1.0f);
    }
    catch (const Ogre::Exception& error)
    {
        // A tree kind met mid-race must not end the race: its far trees are left out.
        debugLog() << "Impostor atlas of mesh '" << mesh->getName() << "' can't be made, its far trees are not "
                   << "drawn: " << error.getDescription() << std::endl;
        texture.reset();
    }
}

void ImpostorTexture::renderPictures(Ogre::Image& atlas)
{
    Ogre::Root* root = Ogre::Root::getSingletonPtr();
    if (!root || !root->getRenderSystem() || !sceneMgr || !sceneMgr->hasSceneNode(kRenderNode))
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_STATE, "no renderer to draw the pictures with",
                    "ImpostorTexture::renderPictures()");
    const uint32_t resolution = ImpostorPage::getImpostorResolution();
    const uint32_t width = kYawCells * resolution;
    const uint32_t height = kPitchCells * resolution;

    RenderScaffold scaffold(*sceneMgr);
    scaffold.target = Ogre::TextureManager::getSingleton().createManual(
        getUniqueID("ImpostorTexture"), kGroup, Ogre::TEX_TYPE_2D, width, height, 0, Ogre::PF_A8R8G8B8,
        Ogre::TU_RENDERTARGET);
    Ogre::RenderTexture* target = scaffold.target->getBuffer()->getRenderTarget();
    target->setAutoUpdated(false);

    scaffold.camera = sceneMgr->createCamera(getUniqueID("ImpostorCam"));
    scaffold.camera->setLodBias(1000.0f);  // always the full-detail mesh
    scaffold.cameraNode = sceneMgr->getRootSceneNode()->createChildSceneNode();
    scaffold.cameraNode->attachObject(scaffold.camera);
    Ogre::Viewport* viewport = target->addViewport(scaffold.camera, 0);
    viewport->setOverlaysEnabled(false);
    viewport->setClearEveryFrame(true);
    viewport->setShadowsEnabled(false);
    viewport->setBackgroundColour(ImpostorPage::getBackgroundColour());

    // A fresh entity of the mesh wearing the template's materials: the template may be
    // attached elsewhere, and its render queue stays as the game set it.
    scaffold.entity = sceneMgr->createEntity(mesh);
    for (size_t i = 0; i < templateMaterials.size() && i < scaffold.entity->getNumSubEntities(); ++i)
        scaffold.entity->getSubEntity(i)->setMaterial(templateMaterials[i]);
    scaffold.entity->setRenderQueueGroup(kRenderQueue);
    scaffold.entityNode = sceneMgr->getSceneNode(kRenderNode);
    scaffold.entityNode->attachObject(scaffold.entity);
    scaffold.entityNode->setPosition(-entityCentre);

    const float distance = entityRadius * kCameraDistanceRadii;
    scaffold.camera->setAspectRatio(1.0f);
    scaffold.camera->setFOVy(Ogre::Radian(std::atan(entityDiameter / distance)));
    scaffold.camera->setNearClipDistance(distance - (entityRadius + 1.0f));
    scaffold.camera->setFarClipDistance(distance + (entityRadius + 1.0f));

    {
        ImpostorRenderState renderState(*sceneMgr, kRenderQueue);
        for (int pitch = 0; pitch < kPitchCells; ++pitch)
            for (int yaw = 0; yaw < kYawCells; ++yaw)
            {
                Ogre::SceneNode& eye = *scaffold.cameraNode;
                eye.setPosition(Ogre::Vector3::ZERO);
                eye.setOrientation(Ogre::Quaternion::IDENTITY);
                eye.pitch(Ogre::Degree(-pitch * 90.0f * 0.25f));
                eye.yaw(Ogre::Degree(yaw * 360.0f * 0.125f), Ogre::Node::TS_WORLD);
                eye.translate(Ogre::Vector3(0.0f, 0.0f, distance), Ogre::Node::TS_LOCAL);
                viewport->setDimensions(yaw * 0.125f, pitch * 0.25f, 0.125f, 0.25f);
                target->update();
            }
    }
    atlas.create(Ogre::PF_BYTE_RGBA, width, height);
    target->copyContentsToMemory(Ogre::Box(0, 0, width, height), atlas.getPixelBox());
}
