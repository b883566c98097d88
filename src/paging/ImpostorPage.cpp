// Impostor pages: trees grouped by mesh, and the atlas picture each page shows this frame.
#include "paging/ImpostorPage.h"

#include "paging/GeometryPager.h"
#include "paging/ImpostorBatch.h"
#include "paging/ImpostorTexture.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMath.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <cmath>

namespace
{
const char* const kRenderNode = "ImpostorPage::renderNode";
constexpr float kTopRowDegrees = 67.5f;  // the highest elevation pictured
}

uint32_t ImpostorPage::pageCount = 0;
uint32_t ImpostorPage::impostorResolution = 128;
const Ogre::ColourValue ImpostorPage::backgroundColour(0.0f, 0.3f, 0.0f, 0.0f);
Ogre::SceneManager* ImpostorPage::renderNodeOwner = nullptr;

ImpostorPage::ImpostorPage() = default;

ImpostorPage::~ImpostorPage()
{
    batches.clear();
    if (pager && --pageCount == 0 && renderNodeOwner)
    {
        if (renderNodeOwner->hasSceneNode(kRenderNode))
            renderNodeOwner->destroySceneNode(kRenderNode);
        renderNodeOwner = nullptr;
    }
}

void ImpostorPage::init(GeometryPager* owner)
{
    pager = owner;
    sceneMgr = owner->getSceneManager();
    blendMode = ALPHA_REJECTION;
    ++pageCount;
}

Ogre::SceneNode* ImpostorPage::renderNode()
{
    if (!sceneMgr)
        return nullptr;
    if (!renderNodeOwner)
    {
        renderNodeOwner = sceneMgr;
        renderNodeOwner->getRootSceneNode()->createChildSceneNode(kRenderNode);
    }
    return renderNodeOwner == sceneMgr ? sceneMgr->getSceneNode(kRenderNode) : nullptr;
}

void ImpostorPage::setRegion(float left, float top, float right, float bottom)
{
    centre = Ogre::Vector3((left + right) * 0.5f, 0.0f, (top + bottom) * 0.5f);
    entityCount = 0;
}

ImpostorBatch& ImpostorPage::batchFor(Ogre::Entity* entity)
{
    if (!sceneMgr)
        sceneMgr = pager->getSceneManager();  // the pager knows it once it has a camera
    const uint32_t key = static_cast<uint32_t>(entity->getMesh()->getHandle());
    std::unique_ptr<ImpostorBatch>& batch = batches[key];
    if (!batch)
        batch = std::make_unique<ImpostorBatch>(*this, entity);
    return *batch;
}

void ImpostorPage::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                             const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                             const Ogre::ColourValue& color)
{
    batchFor(entity).addBillboard(position, rotation, scale, color);
    centre.y += position.y + entity->getBoundingBox().getCenter().y * scale.y;
    ++entityCount;
}

void ImpostorPage::build()
{
    centre.y = entityCount != 0 ? centre.y / entityCount : 0.0f;
    for (auto& entry : batches)
        entry.second->build();
}

void ImpostorPage::removeEntities()
{
    for (auto& entry : batches)
        entry.second->clear();
    centre.y = 0.0f;
    entityCount = 0;
}

void ImpostorPage::setFade(bool enabled, float visibleDist, float invisibleDist)
{
    for (auto& entry : batches)
        entry.second->setFade(enabled, visibleDist, invisibleDist);
}

void ImpostorPage::setVisible(bool visible)
{
    for (auto& entry : batches)
        entry.second->setVisible(visible);
}

uint16_t ImpostorPage::pitchIndex(float pitchDegrees)
{
    if (!(pitchDegrees > 0.0f))
        return 0;  // level, below, or not a number
    const float row = pitchDegrees / kTopRowDegrees * ImpostorTexture::kPitchCells;
    return row >= ImpostorTexture::kPitchCells - 1 ? ImpostorTexture::kPitchCells - 1 : static_cast<uint16_t>(row);
}

uint16_t ImpostorPage::yawIndex(float yawDegrees)
{
    if (!std::isfinite(yawDegrees))
        return 0;
    float column = yawDegrees / 360.0f * ImpostorTexture::kYawCells + 0.5f;
    if (!(yawDegrees > 0.0f))
        column += ImpostorTexture::kYawCells;
    // Past a full turn either way the fraction alone decides.
    column = std::fmod(column, static_cast<float>(ImpostorTexture::kYawCells));
    if (column < 0.0f)
        column += ImpostorTexture::kYawCells;
    return static_cast<uint16_t>(static_cast<int>(column) & (ImpostorTexture::kYawCells - 1));
}

void ImpostorPage::update()
{
    const Ogre::Camera* camera = pager ? pager->getCamera() : nullptr;
    if (!camera)
        return;
    const Ogre::Vector3 eye = camera->getDerivedPosition();
    const float dx = eye.x - centre.x;
    const float dy = eye.y - centre.y;
    const float dz = eye.z - centre.z;
    const float flat = std::sqrt(dx * dx + dz * dz);
    const float pitch = Ogre::Math::ATan2(dy, flat).valueDegrees();
    float yaw = 0.0f;
    if (flat > 3.0f * pager->getPageSize())
        yaw = Ogre::Math::ATan2(dx, dz).valueDegrees();
    else
    {
        // Near pages all take the view direction, so neighbours never show different sides.
        const Ogre::Vector3 direction = camera->getDerivedDirection();
        yaw = Ogre::Math::ATan2(-direction.x, -direction.z).valueDegrees();
    }
    for (auto& entry : batches)
        entry.second->setAngle(pitch, yaw);
}

void ImpostorPage::regenerate(Ogre::Entity* entity)
{
    if (std::shared_ptr<ImpostorTexture> atlas = ImpostorTexture::getTexture(nullptr, entity))
        atlas->regenerate();
}

void ImpostorPage::regenerateAll() { ImpostorTexture::regenerateAll(); }
