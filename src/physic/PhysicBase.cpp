// The physics world of one race on our Bullet layer: world creation and the fixed-step loop.
#include "physic/PhysicBase.h"

#include "RegularFile.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreTimer.h>

#include <algorithm>
#include <exception>
#include <string>

namespace
{
constexpr float kMaxFrameTime = 0.1f;   // seconds: a slower frame is simulated as this long
constexpr float kFixedFrameTime = 1.0f; // seconds simulated per update in fixed-frame mode
const char* const kSceneName = "DefaultScene";
const char* const kStartError = "Error initializing Bullet physics. Did you install the Bullet libraries?";
}

PhysicBase::PhysicBase(Ogre::Root* engineRoot, Ogre::SceneManager* manager, const std::string& folder)
    : root(engineRoot), sceneManager(manager), userFolder(folder)
{
    stepEvent.timeSinceLastEvent = step * stepScale;
    stepEvent.timeSinceLastFrame = step * stepScale;
    loadedCells.assign(kGridSize * kGridSize, 0);
    neededCells.assign(kGridSize * kGridSize, 0);
    // Bullet needs no cooking library: meshes are ready when they are built.
}

PhysicBase::~PhysicBase()
{
    clearPagedActors();
    if (world)
    {
        world->pause();
        world->destroyScene(kSceneName);
    }
    scene = nullptr;
    world.reset();
}

bool PhysicBase::isPhysXAvailable(Ogre::Root* /*root*/)
{
    try
    {
        nxOgre::world probe(0, 0, "");
        return true;
    }
    catch (...)
    {
        return false;
    }
}

void PhysicBase::simulateMissingRuntime(bool missing)
{
    nxOgre::world::simulateStartFailure(missing);
}

nxOgre::scene* PhysicBase::init()
{
    std::string logPath;
    if (!userFolder.empty())
        logPath = userFolder + (userFolder.back() == '/' ? "" : "/") + "logs/NxOgre.physics.log";
    // Anything but a file in the log's place (a FIFO would block its opening): no log then.
    if (!isAbsentOrRegularFile(logPath))
        logPath.clear();
    try
    {
        world = std::make_unique<nxOgre::world>(0, 1, logPath);
    }
    catch (const std::exception& error)
    {
        throw Ogre::InternalErrorException(Ogre::Exception::ERR_INTERNAL_ERROR,
                                           std::string(kStartError) + " " + error.what(), "", "", 0);
    }
    catch (...)
    {
        throw Ogre::InternalErrorException(Ogre::Exception::ERR_INTERNAL_ERROR, kStartError, "", "", 0);
    }
    scene = world->createScene(kSceneName);
    scene->hasFloor(true);
    scene->setGravity(nxOgre::NxVec3(0, -14.80665f, 0));
    scene->setTiming(0, step, 1);
    if (nxOgre::material* standard = scene->findMaterial("Default"))
    {
        standard->setBounce(0.5f);
        standard->setStaticFriction(0.6f);
        standard->setDynamicFriction(0.6f);
    }
    timer = std::make_unique<Ogre::Timer>();
    timer->reset();
    return scene;
}

unsigned long PhysicBase::takeElapsedMilliseconds()
{
    if (!timer)
        return 0;
    const unsigned long elapsed = timer->getMilliseconds();
    timer->reset();
    return elapsed;
}

void PhysicBase::restartClock()
{
    if (timer)
        timer->reset();
}

float PhysicBase::update()
{
    if (!running)
        return 0.0f;
    float dt = static_cast<float>(takeElapsedMilliseconds()) / 1000.0f * timeScale;
    if (fixedFrame)
        dt = kFixedFrameTime;
    else if (dt > kMaxFrameTime)
        dt = kMaxFrameTime;
    accumulator += dt;
    if (accumulator >= step)
    {
        pagingUpdate();
        const int steps = static_cast<int>(accumulator / step);
        const float before = accumulator;
        accumulator = before - static_cast<float>(steps) * step;
        simulatedTime = before - accumulator;
        for (int i = 0; i < steps; ++i)
            simulate(0.0f);
    }
    frameDt = dt;
    alpha = accumulator > 0.0f ? accumulator / step : 0.0f;
    if (world)
        world->render(alpha);
    notifyFrame(alpha, alpha * step, frameDt);
    return dt;
}

void PhysicBase::simulate(float interpolation)
{
    if (world)
    {
        world->frameStarted(stepEvent);
        world->render(interpolation);
    }
    // By index: the list must not change while it is called, but a stale iterator would crash.
    for (std::size_t i = 0; i < listeners.size(); ++i)
        listeners[i]->onPhysicStep(step);
}

void PhysicBase::notifyFrame(float frameAlpha, float alphaTime, float dt)
{
    for (std::size_t i = 0; i < listeners.size(); ++i)
        listeners[i]->onPhysicFrame(frameAlpha, alphaTime, dt);
}

void PhysicBase::addListener(PhysicListener* listener)
{
    listeners.push_back(listener);
}

void PhysicBase::removeListener(PhysicListener* listener)
{
    const auto found = std::find(listeners.begin(), listeners.end(), listener);
    if (found != listeners.end())
        listeners.erase(found);
}

void PhysicBase::pause()
{
    for (std::size_t i = 0; i < listeners.size(); ++i)
        listeners[i]->onPause();
    running = false;
}

void PhysicBase::resume()
{
    for (std::size_t i = 0; i < listeners.size(); ++i)
        listeners[i]->onResume();
    running = true;
    restartClock();  // time spent paused is never simulated
}
