// One page of a detail level: the base every page type derives from, with the bookkeeping
// the page manager reads and writes.
#pragma once

#include "paging/PageInfo.h"

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <list>

namespace Ogre
{
class Entity;
}

class GeometryPager;
class GeometryPageManager;

class GeometryPage
{
public:
    GeometryPage() = default;
    GeometryPage(const GeometryPage&) = delete;
    GeometryPage& operator=(const GeometryPage&) = delete;
    virtual ~GeometryPage() = default;

    // Called once after creation.
    virtual void init(GeometryPager* pager) = 0;
    // The world rectangle about to be loaded.
    virtual void setRegion(float left, float top, float right, float bottom);
    virtual void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                           const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                           const Ogre::ColourValue& color) = 0;
    // Called after loading.
    virtual void build() {}
    virtual void removeEntities() = 0;
    // Opaque at visibleDist, transparent at invisibleDist (either may be the larger).
    virtual void setFade(bool enabled, float visibleDist, float invisibleDist) = 0;
    virtual void setVisible(bool visible) = 0;
    // Called every frame while loaded.
    virtual void update() {}
    // The box around everything added, relative to the centre point.
    virtual const Ogre::AxisAlignedBox& getBoundingBox() { return trueBounds; }
    virtual void addEntityToBoundingBox(Ogre::Entity* entity, const Ogre::Vector3& position,
                                        const Ogre::Quaternion& rotation,
                                        const Ogre::Vector3& scale);
    virtual void clearBoundingBox();

    const Ogre::Vector3& getCenterPoint() const { return centerPoint; }
    int getXIndex() const { return xIndex; }
    int getZIndex() const { return zIndex; }
    bool isVisible() const { return visible; }
    bool isFadeApplied() const { return fadeApplied; }
    bool isPending() const { return pending; }
    bool isLoaded() const { return loaded; }
    bool needsUnloading() const { return needsUnload; }
    uint32_t getInactiveTime() const { return inactiveTimeMs; }
    void* getUserData() const { return userData; }
    bool isBoundsUndefined() const { return trueBoundsUndefined; }

private:
    friend class GeometryPageManager;

    Ogre::Vector3 centerPoint = Ogre::Vector3::ZERO;
    int xIndex = 0;
    int zIndex = 0;
    uint32_t inactiveTimeMs = 0;  // since the page was last inside the cache radius
    bool visible = false;
    bool fadeApplied = false;
    bool pending = false;
    bool loaded = false;
    bool needsUnload = false;  // scrolled away while still holding entities
    std::list<GeometryPage*>::iterator loadedListPosition;
    Ogre::AxisAlignedBox trueBounds;
    bool trueBoundsUndefined = true;
    void* userData = nullptr;
    // Where the page was last loaded: a page scrolled away is unloaded under that name.
    PageInfo loadedInfo;
};
