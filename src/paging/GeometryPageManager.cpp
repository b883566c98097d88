// The grid of one detail level and its per-frame load, show, fade and unload rules.
#include "paging/GeometryPageManager.h"

#include "paging/GeometryPager.h"
#include "paging/PageLoader.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace
{
constexpr float kMinBoundsWidth = 0.00001f;  // world units; below it the level is infinite
constexpr float kPagesCrossedWhileCaching = 0.8f;  // pending pages are worked off within this
constexpr float kSqrt2 = 1.4142135f;
}

GeometryPageManager::GeometryPageManager(GeometryPager* owner) : pager(owner) {}

GeometryPageManager::~GeometryPageManager()
{
    // A page scrolled away still holds its entities (and the loader's data) until unloaded.
    for (auto& page : pages)
        if (page->loaded || page->needsUnload)
            releaseEntities(*page);
}

void GeometryPageManager::setNearRange(float distance)
{
    nearDist = distance;
    nearDistSq = distance * distance;
}

void GeometryPageManager::setFarRange(float distance)
{
    farDist = distance;
    farDistSq = distance * distance;
    farTransDist = farDist + fadeLength;
    farTransDistSq = farTransDist * farTransDist;
}

void GeometryPageManager::setTransition(float length)
{
    if (length > 0.0f)
    {
        fadeLength = length;
        fadeLengthSq = length * length;
        fadeEnabled = true;
    }
    else
    {
        fadeLength = 0.0f;
        fadeLengthSq = 0.0f;
        fadeEnabled = false;
    }
    farTransDist = farDist + fadeLength;
    farTransDistSq = farTransDist * farTransDist;
}

void GeometryPageManager::setCacheSpeed(uint32_t maxIntervalMs, uint32_t inactiveLifeMs)
{
    maxCacheIntervalMs = maxIntervalMs;
    inactivePageLifeMs = inactiveLifeMs;
}

void GeometryPageManager::createGrid(const TBounds& bounds)
{
    const float pageSize = pager->getPageSize();
    if (bounds.width() < kMinBoundsWidth)
    {
        infinite = true;
        gridSize = static_cast<int>(2.0f * farTransDist / pageSize + 4.0f);
        const float side = static_cast<float>(gridSize) * pageSize;
        gridBounds = TBounds(0.0f, 0.0f, side, side);
    }
    else
    {
        // Rounded up: the strip at the right and bottom edges narrower than a page is paged too.
        infinite = false;
        gridSize = static_cast<int>(std::ceil(bounds.width() / pageSize));
        const float side = static_cast<float>(gridSize) * pageSize;
        gridBounds = TBounds(bounds.left, bounds.top, bounds.left + side, bounds.top + side);
    }
    grid.assign(static_cast<size_t>(gridSize) * static_cast<size_t>(gridSize), nullptr);
    pages.clear();
    pages.reserve(grid.size());
}

void GeometryPageManager::addGridPage(std::unique_ptr<GeometryPage> newPage, int x, int z)
{
    const float pageSize = pager->getPageSize();
    const int xOffset = static_cast<int>(std::floor(gridBounds.left / pageSize));
    const int zOffset = static_cast<int>(std::floor(gridBounds.top / pageSize));
    pages.push_back(std::move(newPage));
    GeometryPage& page = *pages.back();
    page.init(pager);
    page.centerPoint = Ogre::Vector3(gridBounds.left + (static_cast<float>(x) + 0.5f) * pageSize,
                                     0.0f,
                                     gridBounds.top + (static_cast<float>(z) + 0.5f) * pageSize);
    page.xIndex = x + xOffset;
    page.zIndex = z + zOffset;
    page.inactiveTimeMs = 0;
    page.visible = page.fadeApplied = page.pending = page.loaded = page.needsUnload = false;
    page.userData = nullptr;
    page.clearBoundingBox();
    cell(x, z) = &page;
}

GeometryPage* GeometryPageManager::getGridPage(int x, int z) const
{
    if (x < 0 || z < 0 || x >= gridSize || z >= gridSize)
        return nullptr;
    return grid[static_cast<size_t>(z * gridSize + x)];
}

float GeometryPageManager::distanceSq(const GeometryPage& page, const Ogre::Vector3& camPos) const
{
    const float dx = page.centerPoint.x - camPos.x;
    const float dz = page.centerPoint.z - camPos.z;
    return dx * dx + dz * dz;
}

uint32_t GeometryPageManager::cacheInterval(float speedPerMs) const
{
    if (speedPerMs <= 0.0f || pendingList.empty())
        return maxCacheIntervalMs;
    const double interval = (pager->getPageSize() * kPagesCrossedWhileCaching) /
                            (static_cast<double>(pendingList.size()) * speedPerMs);
    // Not finite for a speed too small to divide by: that is a camera standing still.
    if (!std::isfinite(interval) || interval >= static_cast<double>(maxCacheIntervalMs))
        return maxCacheIntervalMs;
    return static_cast<uint32_t>(interval);
}

void GeometryPageManager::update(uint32_t deltaTimeMs, const Ogre::Vector3& camPos,
                                 const Ogre::Vector3& camSpeed, bool& enableCache,
                                 const GeometryPageManager* prevManager)
{
    if (gridSize == 0)
        return;
    const float pageSize = pager->getPageSize();

    // The cells the cache radius touches.
    const float cacheDist = farTransDist + pageSize;
    const float cacheDistSq = cacheDist * cacheDist;
    int x1 = static_cast<int>(std::floor((camPos.x - cacheDist - gridBounds.left) / pageSize));
    int x2 = static_cast<int>(std::floor((camPos.x + cacheDist - gridBounds.left) / pageSize));
    int z1 = static_cast<int>(std::floor((camPos.z - cacheDist - gridBounds.top) / pageSize));
    int z2 = static_cast<int>(std::floor((camPos.z + cacheDist - gridBounds.top) / pageSize));

    // An infinite grid follows the camera; a bounded one is clipped.
    if (infinite)
    {
        const int shiftX = x1 < 0 ? x1 : (x2 >= gridSize - 1 ? x2 - (gridSize - 1) : 0);
        const int shiftZ = z1 < 0 ? z1 : (z2 >= gridSize - 1 ? z2 - (gridSize - 1) : 0);
        if (shiftX != 0 || shiftZ != 0)
        {
            _scrollGridPages(shiftX, shiftZ);
            const float moveX = static_cast<float>(shiftX) * pageSize;
            const float moveZ = static_cast<float>(shiftZ) * pageSize;
            gridBounds = TBounds(gridBounds.left + moveX, gridBounds.top + moveZ,
                                 gridBounds.right + moveX, gridBounds.bottom + moveZ);
            x1 -= shiftX;
            x2 -= shiftX;
            z1 -= shiftZ;
            z2 -= shiftZ;
        }
    }
    x1 = std::max(x1, 0);
    z1 = std::max(z1, 0);
    x2 = std::min(x2, gridSize - 1);
    z2 = std::min(z2, gridSize - 1);

    // Pages in view load now, the others around them are queued.
    for (int x = x1; x <= x2; ++x)
    {
        for (int z = z1; z <= z2; ++z)
        {
            GeometryPage& page = *cell(x, z);
            const float dSq = distanceSq(page, camPos);
            if (dSq > cacheDistSq)
                continue;
            if (page.loaded)
            {
                page.inactiveTimeMs = 0;
            }
            else if (dSq >= nearDistSq && dSq < farTransDistSq)
            {
                if (page.pending)
                {
                    pendingList.remove(&page);
                    page.pending = false;
                }
                loadIntoList(page);
            }
            else if (!page.pending)
            {
                pendingList.push_back(&page);
                page.pending = true;
            }
        }
    }

    // At most one queued page per frame, sooner the faster the camera moves.
    const float speed = std::sqrt(camSpeed.x * camSpeed.x + camSpeed.z * camSpeed.z);
    const uint32_t interval = cacheInterval(speed);
    cacheTimerMs += deltaTimeMs;
    if (cacheTimerMs >= interval && enableCache)
    {
        while (!pendingList.empty())
        {
            GeometryPage& page = *pendingList.front();
            pendingList.pop_front();
            page.pending = false;
            if (distanceSq(page, camPos) <= cacheDistSq)
            {
                loadIntoList(page);
                enableCache = false;
                break;
            }
        }
        cacheTimerMs = 0;
    }

    // Expire, show, hide and fade the loaded pages.
    for (auto it = loadedList.begin(); it != loadedList.end();)
    {
        GeometryPage& page = **it;
        ++it;  // the page may leave the list below
        if (page.inactiveTimeMs >= inactivePageLifeMs)
        {
            _unloadPage(page);
            loadedList.erase(page.loadedListPosition);
        }
        else
        {
            updateLoadedPage(page, distanceSq(page, camPos), prevManager);
        }
        page.inactiveTimeMs += deltaTimeMs;
    }
}

void GeometryPageManager::updateLoadedPage(GeometryPage& page, float dSq,
                                           const GeometryPageManager* prev)
{
    const float half = pager->getPageSize() * 0.5f;
    const Ogre::AxisAlignedBox& bounds = page.getBoundingBox();
    float overlap = 0.0f;
    if (!bounds.isNull())
    {
        const Ogre::Vector3& trueMin = bounds.getMinimum();
        const Ogre::Vector3& trueMax = bounds.getMaximum();
        // How far the contents reach out of the page's square on any side.
        overlap = std::max({0.0f, trueMax.x - half, trueMax.z - half, -trueMin.x - half,
                            -trueMin.z - half});
    }
    const float pageLength = (pager->getPageSize() + overlap) * kSqrt2;
    const float pageLengthSq = pageLength * pageLength;

    bool visible = false;
    if (dSq + pageLengthSq >= nearDistSq && dSq - pageLengthSq < farTransDistSq)
    {
        bool fade = false;
        float visibleDist = 0.0f;
        float invisibleDist = 0.0f;
        if (fadeEnabled && dSq + pageLengthSq >= farDistSq)
        {
            visible = fade = true;
            visibleDist = farDist;
            invisibleDist = farTransDist;
        }
        else if (prev && prev->fadeEnabled && dSq - pageLengthSq < prev->farTransDistSq)
        {
            // Gone at the nearer level's far range, whole from the middle of its transition.
            visible = fade = true;
            visibleDist = prev->farDist + (prev->farTransDist - prev->farDist) * 0.5f;
            invisibleDist = prev->farDist;
        }
        if (fade != page.fadeApplied)
        {
            page.setFade(fade, visibleDist, invisibleDist);
            page.fadeApplied = fade;
        }
    }
    if (dSq >= nearDistSq && dSq < farDistSq)
        visible = true;
    if (visible != page.visible)
    {
        page.setVisible(visible);
        page.visible = visible;
    }
    page.update();
}

PageInfo GeometryPageManager::pageInfo(const GeometryPage& page) const
{
    const float half = pager->getPageSize() * 0.5f;
    PageInfo info;
    info.bounds = TBounds(page.centerPoint.x - half, page.centerPoint.z - half,
                          page.centerPoint.x + half, page.centerPoint.z + half);
    info.centerPoint = page.centerPoint;
    info.xIndex = page.xIndex;
    info.zIndex = page.zIndex;
    info.userData = page.userData;
    return info;
}

void GeometryPageManager::loadIntoList(GeometryPage& page)
{
    _loadPage(page);
    page.loadedListPosition = loadedList.insert(loadedList.end(), &page);
}

void GeometryPageManager::releaseEntities(GeometryPage& page)
{
    PageInfo info = page.loadedInfo;
    info.userData = page.userData;
    page.removeEntities();
    if (PageLoader* loader = pager->getPageLoader())
        loader->unloadPage(info);
    page.userData = nullptr;
    page.clearBoundingBox();
    page.needsUnload = false;
}

void GeometryPageManager::_loadPage(GeometryPage& page)
{
    if (page.needsUnload)
        releaseEntities(page);

    PageInfo info = pageInfo(page);
    page.setRegion(info.bounds.left, info.bounds.top, info.bounds.right, info.bounds.bottom);
    PageLoader* loader = pager->getPageLoader();
    assert(loader && "pages load only while the pager has a loader");
    loader->geomPage = &page;
    loader->loadPage(info);
    page.userData = info.userData;
    page.loadedInfo = info;
    page.build();
    page.setVisible(page.visible);

    page.inactiveTimeMs = 0;
    page.loaded = true;
    page.fadeApplied = false;
}

void GeometryPageManager::_unloadPage(GeometryPage& page)
{
    releaseEntities(page);
    page.inactiveTimeMs = 0;
    page.loaded = false;
    page.fadeApplied = false;
}

void GeometryPageManager::leaveGridLoaded(GeometryPage& page)
{
    // Emptied at its next load, as scrolling must stay cheap; hidden now, as nothing shows or
    // hides it until then and its old place may be loaded again by another page.
    if (!page.loaded)
        return;
    if (page.visible)
    {
        page.setVisible(false);
        page.visible = false;
    }
    page.needsUnload = true;
    page.loaded = false;
    loadedList.erase(page.loadedListPosition);
}

void GeometryPageManager::_scrollGridPages(int shiftX, int shiftZ)
{
    const float pageSize = pager->getPageSize();
    if (std::abs(shiftX) > gridSize || std::abs(shiftZ) > gridSize)
    {
        // The camera left the grid entirely: every page starts afresh at its new place.
        for (auto& page : pages)
        {
            if (page->loaded)
            {
                _unloadPage(*page);
                loadedList.erase(page->loadedListPosition);
            }
            page->centerPoint.x += static_cast<float>(shiftX) * pageSize;
            page->centerPoint.z += static_cast<float>(shiftZ) * pageSize;
            page->xIndex += shiftX;
            page->zIndex += shiftZ;
        }
        return;
    }
    if (shiftX != 0)
        for (int z = 0; z < gridSize; ++z)
            scrollRow(z, shiftX);
    if (shiftZ != 0)
        for (int x = 0; x < gridSize; ++x)
            scrollColumn(x, shiftZ);
}

void GeometryPageManager::scrollRow(int z, int shiftX)
{
    const float side = static_cast<float>(gridSize) * pager->getPageSize();
    std::vector<GeometryPage*> row(static_cast<size_t>(gridSize));
    for (int x = 0; x < gridSize; ++x)
        row[static_cast<size_t>(x)] = cell(x, z);
    const int leaving = std::abs(shiftX);
    const int sign = shiftX > 0 ? 1 : -1;
    for (int x = 0; x < gridSize; ++x)
    {
        // Cell x takes the page shiftX cells further on, wrapping round the row.
        GeometryPage* page = row[static_cast<size_t>(((x + shiftX) % gridSize + gridSize) % gridSize)];
        const bool wrapped = shiftX > 0 ? x >= gridSize - leaving : x < leaving;
        if (wrapped)
        {
            leaveGridLoaded(*page);
            page->centerPoint.x += static_cast<float>(sign) * side;
            page->xIndex += sign * gridSize;
        }
        cell(x, z) = page;
    }
}

void GeometryPageManager::scrollColumn(int x, int shiftZ)
{
    const float side = static_cast<float>(gridSize) * pager->getPageSize();
    std::vector<GeometryPage*> column(static_cast<size_t>(gridSize));
    for (int z = 0; z < gridSize; ++z)
        column[static_cast<size_t>(z)] = cell(x, z);
    const int leaving = std::abs(shiftZ);
    const int sign = shiftZ > 0 ? 1 : -1;
    for (int z = 0; z < gridSize; ++z)
    {
        GeometryPage* page =
            column[static_cast<size_t>(((z + shiftZ) % gridSize + gridSize) % gridSize)];
        const bool wrapped = shiftZ > 0 ? z >= gridSize - leaving : z < leaving;
        if (wrapped)
        {
            leaveGridLoaded(*page);
            page->centerPoint.z += static_cast<float>(sign) * side;
            page->zIndex += sign * gridSize;
        }
        cell(x, z) = page;
    }
}

void GeometryPageManager::reloadGeometry()
{
    for (GeometryPage* page : loadedList)
        _unloadPage(*page);
    loadedList.clear();
}

void GeometryPageManager::reloadGeometryPage(const Ogre::Vector3& point)
{
    const int x = static_cast<int>(std::floor(static_cast<float>(gridSize) *
                                              (point.x - gridBounds.left) / gridBounds.width()));
    const int z = static_cast<int>(std::floor(static_cast<float>(gridSize) *
                                              (point.z - gridBounds.top) / gridBounds.height()));
    GeometryPage* page = getGridPage(x, z);
    if (page && page->loaded)
    {
        _unloadPage(*page);
        loadedList.erase(page->loadedListPosition);
    }
}
