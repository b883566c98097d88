// Runs the detail levels of one paged set around the camera once per frame.
#include "paging/GeometryPager.h"

#include "paging/PageLoader.h"
#include "paging/StaticBillboardSet.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRoot.h>

GeometryPager::GeometryPager(Ogre::Camera* cam, float size, Clock clockMs)
    : pageSize(size), clock(std::move(clockMs))
{
    if (cam)
    {
        camera = cam;
        sceneMgr = cam->getSceneManager();
        oldCamPos = cam->getDerivedPosition();
    }
    timer.reset();
    lastTimeMs = 0;
    if (clock)
        lastTimeMs = clock();
}

GeometryPager::~GeometryPager() { removeDetailLevels(); }

uint32_t GeometryPager::nowMs()
{
    return clock ? clock() : static_cast<uint32_t>(timer.getMilliseconds());
}

void GeometryPager::setCamera(Ogre::Camera* cam)
{
    if (!cam)
    {
        camera = nullptr;
        return;
    }
    if (sceneMgr && cam->getSceneManager() != sceneMgr)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    "The specified camera is from the wrong SceneManager",
                    "GeometryPager::setCamera()");
    if (cam == camera)
        return;
    if (cam == lastOtherCamera)
    {
        // Two cameras used in turn keep their own speed history.
        std::swap(camera, lastOtherCamera);
        std::swap(oldCamPos, lastOtherPos);
    }
    else
    {
        lastOtherCamera = camera;
        lastOtherPos = oldCamPos;
        camera = cam;
        // A new camera starts at rest, or the jump from the old one reads as a huge speed.
        oldCamPos = cam->getDerivedPosition();
    }
    if (!sceneMgr)
        sceneMgr = cam->getSceneManager();
}

void GeometryPager::setPageSize(float size)
{
    if (!managerList.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_CANNOT_WRITE_TO_FILE,  // the engine's IOException
                    "GeometryPager::setPageSize() cannot be called after detail levels have been "
                    "added. Call removeDetailLevels() first.",
                    "GeometryPager::setPageSize()");
    pageSize = size;
}

void GeometryPager::setBounds(const TBounds& newBounds)
{
    if (!managerList.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_CANNOT_WRITE_TO_FILE,
                    "GeometryPager::setBounds() cannot be called after detail levels have been "
                    "added. Call removeDetailLevels() first.",
                    "GeometryPager::setBounds()");
    if (newBounds.width() != newBounds.height())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "Bounds must be square",
                    "GeometryPager::setBounds()");
    if (!(newBounds.width() > 0.0f) || !(newBounds.height() > 0.0f))
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    "Bounds must have positive width and height", "GeometryPager::setBounds()");
    bounds = newBounds;
}

void GeometryPager::setInfinite()
{
    if (!managerList.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_CANNOT_WRITE_TO_FILE,
                    "GeometryPager::setInfinite() cannot be called after detail levels have been "
                    "added. Call removeDetailLevels() first.",
                    "GeometryPager::setInfinite()");
    bounds = TBounds(0.0f, 0.0f, 0.0f, 0.0f);
}

bool GeometryPager::vertexProgramsSupported()
{
    Ogre::Root* root = Ogre::Root::getSingletonPtr();
    Ogre::RenderSystem* renderSystem = root ? root->getRenderSystem() : nullptr;
    const Ogre::RenderSystemCapabilities* caps =
        renderSystem ? renderSystem->getCapabilities() : nullptr;
    return caps && caps->hasCapability(Ogre::RSC_VERTEX_PROGRAM);
}

GeometryPageManager* GeometryPager::startDetailLevel(float maxRange, float transitionLength)
{
    auto level = std::make_unique<GeometryPageManager>(this);
    if (!vertexProgramsSupported())
        transitionLength = 0.0f;  // fading needs a vertex program
    const float nearRange = managerList.empty() ? 0.0f : managerList.back()->getFarRange();
    if (nearRange >= maxRange)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_STATE,
                    "Closer detail levels must be added before farther ones",
                    "GeometryPager::addDetailLevel()");
    level->setNearRange(nearRange);
    level->setFarRange(maxRange);
    level->setTransition(transitionLength);
    managerList.push_back(std::move(level));
    return managerList.back().get();
}

void GeometryPager::removeDetailLevels() { managerList.clear(); }

void GeometryPager::update()
{
    if (!camera)
        return;

    const uint32_t now = nowMs();
    const uint32_t deltaTimeMs = now - lastTimeMs;
    lastTimeMs = now;

    const Ogre::Vector3 camPos = camera->getDerivedPosition();
    const Ogre::Vector3 camSpeed =
        deltaTimeMs == 0 ? Ogre::Vector3::ZERO
                         : (camPos - oldCamPos) / static_cast<float>(deltaTimeMs);
    oldCamPos = camPos;

    if (pageLoader)
    {
        pageLoader->frameUpdate();
        bool enableCache = true;
        const GeometryPageManager* prev = nullptr;
        for (auto& level : managerList)
        {
            level->update(deltaTimeMs, camPos, camSpeed, enableCache, prev);
            prev = level.get();
        }
    }
    StaticBillboardSet::updateAll(camera);
}

void GeometryPager::reloadGeometry()
{
    for (auto& level : managerList)
        level->reloadGeometry();
}

void GeometryPager::reloadGeometryPage(const Ogre::Vector3& point)
{
    if (!pageLoader)
        return;
    for (auto& level : managerList)
        level->reloadGeometryPage(point);
}
