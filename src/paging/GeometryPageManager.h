// One detail level of a paged vegetation set: a square grid of pages of one type around the
// camera, loaded, shown, faded and unloaded by distance.
#pragma once

#include "paging/GeometryPage.h"
#include "paging/PageInfo.h"
#include "paging/TBounds.h"

#include <OGRE/OgreVector.h>

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

class GeometryPager;

class GeometryPageManager
{
public:
    explicit GeometryPageManager(GeometryPager* pager);
    GeometryPageManager(const GeometryPageManager&) = delete;
    GeometryPageManager& operator=(const GeometryPageManager&) = delete;
    // Pages still holding entities are unloaded through the loader first.
    ~GeometryPageManager();

    void setNearRange(float distance);
    void setFarRange(float distance);
    float getNearRange() const { return nearDist; }
    float getFarRange() const { return farDist; }
    // A length of 0 (or less, or not a number) switches fading off.
    void setTransition(float length);
    float getTransition() const { return fadeLength; }
    void setCacheSpeed(uint32_t maxCacheIntervalMs, uint32_t inactivePageLifeMs);

    template <typename PageType>
    void initPages(const TBounds& bounds);

    // camSpeed in units per millisecond; enableCache is shared by the levels of one frame so
    // that at most one queued page loads per frame.
    void update(uint32_t deltaTimeMs, const Ogre::Vector3& camPos, const Ogre::Vector3& camSpeed,
                bool& enableCache, const GeometryPageManager* prevManager);

    void reloadGeometry();
    void reloadGeometryPage(const Ogre::Vector3& point);

    bool isInfinite() const { return infinite; }
    int getGridSize() const { return gridSize; }
    const TBounds& getGridBounds() const { return gridBounds; }
    // Cell (x, z) of the grid, nullptr outside it.
    GeometryPage* getGridPage(int x, int z) const;
    size_t getLoadedPageCount() const { return loadedList.size(); }
    size_t getPendingPageCount() const { return pendingList.size(); }
    // The wait between two queued loads for this camera speed (units per millisecond).
    uint32_t cacheInterval(float speedPerMs) const;

private:
    void createGrid(const TBounds& bounds);
    // Takes the page, inits it and puts it at cell (x, z) of the new grid.
    void addGridPage(std::unique_ptr<GeometryPage> page, int x, int z);
    void loadIntoList(GeometryPage& page);
    void _loadPage(GeometryPage& page);
    void _unloadPage(GeometryPage& page);
    void releaseEntities(GeometryPage& page);
    void _scrollGridPages(int shiftX, int shiftZ);
    void scrollRow(int z, int shiftX);
    void scrollColumn(int x, int shiftZ);
    void leaveGridLoaded(GeometryPage& page);
    void updateLoadedPage(GeometryPage& page, float distanceSq, const GeometryPageManager* prev);
    PageInfo pageInfo(const GeometryPage& page) const;
    float distanceSq(const GeometryPage& page, const Ogre::Vector3& camPos) const;

    GeometryPage*& cell(int x, int z) { return grid[static_cast<size_t>(z * gridSize + x)]; }

    GeometryPager* pager;  // not owned
    std::vector<std::unique_ptr<GeometryPage>> pages;  // owns every page of the grid
    std::vector<GeometryPage*> grid;                   // cell (x, z) at z * gridSize + x
    bool infinite = false;                             // the grid scrolls with the camera
    int gridSize = 0;                                  // pages per side
    TBounds gridBounds;

    float fadeLength = 0.0f;
    float fadeLengthSq = 0.0f;
    bool fadeEnabled = false;

    uint32_t cacheTimerMs = 0;
    std::list<GeometryPage*> pendingList;
    std::list<GeometryPage*> loadedList;
    uint32_t maxCacheIntervalMs = 200;
    uint32_t inactivePageLifeMs = 2000;

    float nearDist = 0.0f, nearDistSq = 0.0f;
    float farDist = 0.0f, farDistSq = 0.0f;
    float farTransDist = 0.0f, farTransDistSq = 0.0f;  // far range + fade length
};

template <typename PageType>
void GeometryPageManager::initPages(const TBounds& bounds)
{
    createGrid(bounds);
    for (int x = 0; x < gridSize; ++x)
        for (int z = 0; z < gridSize; ++z)
            addGridPage(std::make_unique<PageType>(), x, z);
}
