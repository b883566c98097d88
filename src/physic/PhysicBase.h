// The physics world of one race: the fixed-step loop, its listeners and the paged
// store of static collision shapes.
#pragma once

#include "physic/PagedNamedStore.h"
#include "physic/PhysicListener.h"
#include "platform/physics/world.h"

#include <OGRE/OgreVector.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ogre
{
class Root;
class SceneManager;
class Timer;
}

class PhysicBase
{
public:
    // userFolder is the per-user folder; the physics log goes to its "logs/".
    PhysicBase(Ogre::Root* root, Ogre::SceneManager* sceneManager, const std::string& userFolder = "");
    virtual ~PhysicBase();
    PhysicBase(const PhysicBase&) = delete;
    PhysicBase& operator=(const PhysicBase&) = delete;

    // Creates the world and its scene "DefaultScene"; throws the engine's internal-error
    // exception when the physics can't start.
    nxOgre::scene* init();
    // Whether a physics world can be created on this machine at all; never throws.
    static bool isPhysXAvailable(Ogre::Root* root);
    // For tests of the start-up: makes isPhysXAvailable answer false and init throw.
    static void simulateMissingRuntime(bool missing);

    // Once per rendered frame: runs the fixed steps the frame time pays for; returns the
    // frame time added (0 while not running).
    float update();
    // One fixed step; update passes 0 as interpolation.
    void simulate(float interpolation);
    void notifyFrame(float alpha, float alphaTime, float frameDt);

    void addListener(PhysicListener* listener);
    // In the order they are told of each step.
    const std::vector<PhysicListener*>& getListeners() const { return listeners; }
    void removeListener(PhysicListener* listener);
    void pause();
    void resume();
    bool isRunning() const { return running; }
    // While set, every update simulates exactly one second (100 steps), unclamped.
    void setFixedFrame(bool fixed) { fixedFrame = fixed; }
    void setTimeScale(float scale) { timeScale = scale; }
    float getStep() const { return step; }  // seconds of one fixed step
    float getSimulatedTime() const { return simulatedTime; }
    float getAlpha() const { return alpha; }
    nxOgre::scene* getScene() const { return scene; }

    // Paged static shapes: see the store's fields below.
    // Divides position by the cell size in place; true with x, z set inside the grid.
    bool getCell(Ogre::Vector3& position, unsigned& x, unsigned& z) const;
    // An empty name gets a generated one, written back. The description stays the caller's.
    void addStaticShape(std::string& name, nxOgre::NxShapeDesc* shape, const Ogre::Vector3& position);
    // The description is copied; its shapes stay the caller's.
    void addStaticActor(const std::string& name, const nxOgre::NxActorDesc& actor, const Ogre::Vector3& position);
    void removeStaticShape(const std::string& name);
    void removeStaticActor(const std::string& name);
    void setPaging(bool on);
    bool isPaging() const { return paging; }
    void pagingUpdate();
    void clearPagedActors();
    bool isCellLoaded(unsigned cellIndex) const { return cellIndex < loadedCells.size() && loadedCells[cellIndex]; }
    std::size_t getPagedActorCount() const;

    static constexpr float kWorldSize = 4000.0f;  // units along x and z, from 0
    static constexpr unsigned kGridSize = 32;     // cells per side

protected:
    // The frame clock, apart so that tests can drive it: milliseconds since the last call.
    virtual unsigned long takeElapsedMilliseconds();
    virtual void restartClock();

private:
    bool loadCell(unsigned cellIndex);
    void updateCells(bool loadAll);
    void unloadCells(bool forced);
    void visitCell(unsigned cellIndex);
    // The grid cell of a world position; none outside the grid.
    std::optional<unsigned> cellOf(const Ogre::Vector3& position) const;

    Ogre::Root* root;
    Ogre::SceneManager* sceneManager;
    std::string userFolder;
    std::unique_ptr<nxOgre::world> world;
    nxOgre::scene* scene = nullptr;
    bool running = false;
    bool fixedFrame = false;
    bool paging = false;
    nxOgre::FrameEvent stepEvent;
    float step = 0.01f;  // seconds
    float alpha = 0.0f;
    std::unique_ptr<Ogre::Timer> timer;
    float timeScale = 1.0f;
    float stepScale = 1.0f;
    float frameDt = 0.0f;
    float simulatedTime = 0.0f;
    float accumulator = 0.0f;
    std::vector<PhysicListener*> listeners;

    // The paged store.
    std::vector<unsigned char> loadedCells;
    std::vector<unsigned char> neededCells;
    std::vector<unsigned> loadedCellList;  // the cells whose loadedCells flag is set
    PagedNamedStore<nxOgre::NxShapeDesc*> staticShapes;
    PagedNamedStore<nxOgre::NxActorDesc> staticActors;
    std::map<unsigned, std::vector<nxOgre::NxActor*>> createdActors;
    unsigned shapeNameCounter = 0;
    std::vector<nxOgre::body*> sleepingBodies;
};
