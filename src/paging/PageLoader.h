// The application's side of paging: fills a page with the entities of its region.
#pragma once

#include "paging/PageInfo.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreQuaternion.h>

namespace Ogre
{
class Entity;
}

class GeometryPage;
class GeometryPageManager;

class PageLoader
{
public:
    virtual ~PageLoader() = default;

    // Adds the entities of the page's region; may set the user data.
    virtual void loadPage(PageInfo& page) = 0;
    virtual void unloadPage(const PageInfo&) {}
    // Once per frame, before the detail levels are updated.
    virtual void frameUpdate() {}

protected:
    // For use inside loadPage: adds to the page being loaded and grows its bounds.
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                   const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                   const Ogre::ColourValue& color = Ogre::ColourValue::White);

private:
    friend class GeometryPageManager;
    GeometryPage* geomPage = nullptr;  // set by the page manager just before loadPage
};
