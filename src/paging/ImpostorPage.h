// The far detail level of trees: every tree drawn as one camera-facing quad showing a picture
// of its mesh taken in advance, from the bearing and elevation the camera sees it at.
#pragma once

#include "paging/GeometryPage.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <map>
#include <memory>

namespace Ogre
{
class SceneManager;
class SceneNode;
}

class ImpostorBatch;

enum ImpostorBlendMode
{
    ALPHA_REJECTION = 0,
    ALPHA_BLENDING = 1
};

class ImpostorPage : public GeometryPage
{
public:
    ImpostorPage();
    ~ImpostorPage() override;

    void init(GeometryPager* pager) override;
    void setRegion(float left, float top, float right, float bottom) override;
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                   const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                   const Ogre::ColourValue& color) override;
    void build() override;
    void removeEntities() override;
    void setFade(bool enabled, float visibleDist, float invisibleDist) override;
    void setVisible(bool visible) override;
    // Shows every batch the picture of the camera's view.
    void update() override;

    // Decides how atlases made from now on blend.
    void setBlendMode(ImpostorBlendMode mode) { blendMode = mode; }
    ImpostorBlendMode getBlendMode() const { return blendMode; }
    // Side in pixels of one atlas picture, for atlases made from now on.
    static void setImpostorResolution(uint32_t pixels) { impostorResolution = pixels; }
    static uint32_t getImpostorResolution() { return impostorResolution; }
    static const Ogre::ColourValue& getBackgroundColour() { return backgroundColour; }
    // Renders the atlas of the entity's mesh again if it has one.
    static void regenerate(Ogre::Entity* entity);
    static void regenerateAll();

    Ogre::SceneManager* getSceneManager() const { return sceneMgr; }
    GeometryPager* getPager() const { return pager; }
    const std::map<uint32_t, std::unique_ptr<ImpostorBatch>>& getBatches() const { return batches; }
    // The batch of the entity's mesh, made on its first tree.
    ImpostorBatch& batchFor(Ogre::Entity* entity);
    // The node atlases are rendered on; made when first needed.
    Ogre::SceneNode* renderNode();
    // Pages initialised and not yet destroyed.
    static uint32_t instanceCount() { return pageCount; }

    // Which atlas picture a camera at pitch and yaw (degrees) sees.
    static uint16_t pitchIndex(float pitchDegrees);
    static uint16_t yawIndex(float yawDegrees);

private:
    static uint32_t pageCount;
    static uint32_t impostorResolution;  // pixels
    static const Ogre::ColourValue backgroundColour;
    static Ogre::SceneManager* renderNodeOwner;  // whose scene holds the render node

    GeometryPager* pager = nullptr;          // not owned
    Ogre::SceneManager* sceneMgr = nullptr;  // not owned; the pager's, once it has a camera
    ImpostorBlendMode blendMode = ALPHA_REJECTION;
    Ogre::Vector3 centre = Ogre::Vector3::ZERO;  // y: mean height of the trees' middles
    int32_t entityCount = 0;
    std::map<uint32_t, std::unique_ptr<ImpostorBatch>> batches;  // by mesh handle
};
