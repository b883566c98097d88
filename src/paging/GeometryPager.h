// One paged vegetation set (the trees, or the grass): its detail levels, nearest first, kept
// around one camera and filled by the application's page loader.
#pragma once

#include "paging/GeometryPageManager.h"
#include "paging/TBounds.h"

#include <OGRE/OgreTimer.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>

namespace Ogre
{
class Camera;
class SceneManager;
}

class PageLoader;

class GeometryPager
{
public:
    // Milliseconds of a monotonic clock; the engine's timer unless a test drives its own.
    using Clock = std::function<uint32_t()>;

    explicit GeometryPager(Ogre::Camera* camera = nullptr, float pageSize = 100.0f,
                           Clock clock = Clock());
    GeometryPager(const GeometryPager&) = delete;
    GeometryPager& operator=(const GeometryPager&) = delete;
    ~GeometryPager();

    // A camera of another scene manager is refused.
    void setCamera(Ogre::Camera* camera);
    Ogre::Camera* getCamera() const { return camera; }
    Ogre::SceneManager* getSceneManager() const { return sceneMgr; }

    // The three layout setters are refused once a detail level exists.
    void setPageSize(float size);
    float getPageSize() const { return pageSize; }
    // Square, with positive sides; all zero (setInfinite) pages around the camera wherever it goes.
    void setBounds(const TBounds& bounds);
    const TBounds& getBounds() const { return bounds; }
    void setInfinite();

    // Appends a level of PageType pages; the levels must be added nearest first.
    template <typename PageType>
    GeometryPageManager* addDetailLevel(float maxRange, float transitionLength = 0.0f);
    const std::list<std::unique_ptr<GeometryPageManager>>& getDetailLevels() const
    {
        return managerList;
    }
    void removeDetailLevels();

    // The loader must outlive the levels: deleting a level unloads its pages through it.
    void setPageLoader(PageLoader* loader) { pageLoader = loader; }
    PageLoader* getPageLoader() const { return pageLoader; }

    // Where this set's impostor pages keep the atlases they make between runs: the per-user
    // "tmp/" folder, ending in "/"; empty keeps them in memory only.
    void setImpostorCacheFolder(const std::string& folder) { impostorCacheFolder = folder; }
    const std::string& getImpostorCacheFolder() const { return impostorCacheFolder; }

    // Once per frame.
    void update();
    // Every loaded page of every level is unloaded; they load again as the camera needs them.
    void reloadGeometry();
    // Unloads, in every level, the loaded page whose cell holds the point.
    void reloadGeometryPage(const Ogre::Vector3& point);

private:
    GeometryPageManager* startDetailLevel(float maxRange, float transitionLength);
    uint32_t nowMs();
    static bool vertexProgramsSupported();

    Ogre::SceneManager* sceneMgr = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::Vector3 oldCamPos = Ogre::Vector3::ZERO;
    Ogre::Camera* lastOtherCamera = nullptr;  // the camera before the current one
    Ogre::Vector3 lastOtherPos = Ogre::Vector3::ZERO;

    std::list<std::unique_ptr<GeometryPageManager>> managerList;  // nearest first
    PageLoader* pageLoader = nullptr;                              // not owned
    std::string impostorCacheFolder;
    TBounds bounds;
    float pageSize = 100.0f;  // world units

    Clock clock;
    Ogre::Timer timer;
    uint32_t lastTimeMs = 0;
};

template <typename PageType>
GeometryPageManager* GeometryPager::addDetailLevel(float maxRange, float transitionLength)
{
    GeometryPageManager* level = startDetailLevel(maxRange, transitionLength);
    level->initPages<PageType>(bounds);
    return level;
}
