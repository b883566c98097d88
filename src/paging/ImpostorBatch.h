// The trees of one mesh on one impostor page: one static billboard set with a quad per tree,
// switched to the atlas material of the current view.
#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <memory>

namespace Ogre
{
class Entity;
}

class ImpostorPage;
class ImpostorTexture;
class StaticBillboardSet;

class ImpostorBatch
{
public:
    static constexpr uint16_t kNoIndex = 65535;

    ImpostorBatch(ImpostorPage& page, Ogre::Entity* entity);
    ~ImpostorBatch();
    ImpostorBatch(const ImpostorBatch&) = delete;
    ImpostorBatch& operator=(const ImpostorBatch&) = delete;

    void addBillboard(const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                      const Ogre::Vector3& scale, const Ogre::ColourValue& color);
    // Degrees; switches the material only when the picture changes.
    void setAngle(float pitchDegrees, float yawDegrees);
    void build();
    void clear();
    void setFade(bool enabled, float visibleDist, float invisibleDist);
    void setVisible(bool visible);

    // The atlas column that shows a tree turned by rotation from the atlas's bearing 0.
    static uint16_t columnOffset(const Ogre::Quaternion& rotation);

    const std::shared_ptr<ImpostorTexture>& getTexture() const { return texture; }
    StaticBillboardSet& getBillboardSet() const { return *billboards; }
    uint16_t getPitchIndex() const { return pitchIndex; }
    uint16_t getYawIndex() const { return yawIndex; }

private:
    std::shared_ptr<ImpostorTexture> texture;
    std::unique_ptr<StaticBillboardSet> billboards;
    uint16_t pitchIndex = kNoIndex;
    uint16_t yawIndex = kNoIndex;
};
