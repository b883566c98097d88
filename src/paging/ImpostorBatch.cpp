// Impostor batches: one billboard per tree, turned to the atlas column of its own heading.
#include "paging/ImpostorBatch.h"

#include "paging/ImpostorPage.h"
#include "paging/ImpostorTexture.h"
#include "paging/StaticBillboardSet.h"

#include <OGRE/OgreMath.h>

#include <cmath>

ImpostorBatch::ImpostorBatch(ImpostorPage& page, Ogre::Entity* entity)
    : texture(ImpostorTexture::getTexture(&page, entity)),
      billboards(std::make_unique<StaticBillboardSet>(page.getSceneManager(), BB_METHOD_ACCELERATED))
{
    billboards->setTextureStacksAndSlices(ImpostorTexture::kPitchCells, ImpostorTexture::kYawCells);
    setAngle(0.0f, 0.0f);
}

ImpostorBatch::~ImpostorBatch() = default;

uint16_t ImpostorBatch::columnOffset(const Ogre::Quaternion& rotation)
{
    const Ogre::Vector3 facing = rotation * Ogre::Vector3::UNIT_Z;
    float degrees = Ogre::Math::ATan2(facing.x, facing.z).valueDegrees();
    if (degrees < 0.0f)
        degrees += 360.0f;
    const int turn = static_cast<int>(degrees / 360.0f * ImpostorTexture::kYawCells + 0.5f);  // 0..8
    return static_cast<uint16_t>((ImpostorTexture::kYawCells - turn) % ImpostorTexture::kYawCells);
}

void ImpostorBatch::addBillboard(const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                                 const Ogre::Vector3& scale, const Ogre::ColourValue& color)
{
    if (!texture->hasPictures())
        return;  // logged when the atlas failed; a blank quad would look worse than nothing
    const float diameter = texture->getEntityDiameter();
    const float width = diameter * 0.5f * (scale.x + scale.z);
    const float height = diameter * scale.y;
    const Ogre::Vector3 centre = position + rotation * (texture->getEntityCentre() * scale);
    billboards->createBillboard(centre, width, height, color, columnOffset(rotation), 0);
}

void ImpostorBatch::setAngle(float pitchDegrees, float yawDegrees)
{
    const uint16_t pitch = ImpostorPage::pitchIndex(pitchDegrees);
    const uint16_t yaw = ImpostorPage::yawIndex(yawDegrees);
    if (pitch == pitchIndex && yaw == yawIndex)
        return;
    pitchIndex = pitch;
    yawIndex = yaw;
    billboards->setMaterial(texture->getMaterialName(pitch, yaw));
}

void ImpostorBatch::build() { billboards->build(); }
void ImpostorBatch::clear() { billboards->clear(); }
void ImpostorBatch::setFade(bool enabled, float visibleDist, float invisibleDist)
{
    billboards->setFade(enabled, visibleDist, invisibleDist);
}
void ImpostorBatch::setVisible(bool visible) { billboards->setVisible(visible); }
