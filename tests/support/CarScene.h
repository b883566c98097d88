// A headless race scene for the player's car: the physics world as the race scene makes
// it (floor, road and terrain materials), the two fixed lights, the build's car media with
// parsed materials and the smoke template, and optionally a terrain with its collision.
#pragma once

#include "TerrainFiles.h"
#include "TerrainScene.h"
#include "physic/Car.h"
#include "physic/CarDesc.h"
#include "physic/PhysicBase.h"
#include "physic/TerrainPhysicManager.h"

#include <functional>
#include <memory>
#include <string>

class CarScene
{
public:
    static constexpr float kStep = 0.01f;  // seconds

    CarScene();
    ~CarScene();
    CarScene(const CarScene&) = delete;
    CarScene& operator=(const CarScene&) = delete;

    // Makes the build's car media known to the headless engine (once per process).
    static void prepareMedia();
    // The shipped Roadster's description, its sounds read from the build's media.
    static std::unique_ptr<CarDesc> roadster();
    // What the race scene makes before its cars: the road and terrain physics materials
    // and the two fixed lights.
    static void prepareRace(nxOgre::scene& scene, Ogre::SceneManager* sceneManager);

    // Loads a terrain of pageSize samples over pageWorld units, height(row, column) in 0..1
    // scaled by maxHeight, and pages its collision in around the cars.
    void loadTerrain(unsigned pageSize, float pageWorld, float maxHeight,
                     const std::function<float(unsigned, unsigned)>& height);
    std::unique_ptr<Car> makeCar(const CarDesc& desc, const Ogre::Vector3& at,
                                 const Ogre::Quaternion& turn = Ogre::Quaternion::IDENTITY,
                                 const std::string& name = "Player");

    // One fixed step as the race runs it: the world steps, the nodes follow, the car steps.
    void step(Car& car);
    // One rendered frame's calls to the car.
    void frame(Car& car, float frameDt = kStep);
    // Steps and frames for seconds; each may return false to stop early.
    void run(Car& car, float seconds, const std::function<bool()>& each = {});

    Ogre::SceneManager* sceneManager() const { return terrainScene.sceneManager; }
    nxOgre::scene& physicsScene() const { return *scene; }
    PhysicBase& physicBase() { return physics; }
    TerrainObject* terrain() const { return terrainLoaded ? terrainScene.terrain.get() : nullptr; }

private:
    TerrainFiles files;
    TerrainScene terrainScene;
    PhysicBase physics{nullptr, nullptr};
    nxOgre::scene* scene;
    std::unique_ptr<TerrainPhysicManager> terrainPhysics;
    bool terrainLoaded = false;
};
