// The loaded track of the track-driving test and benchmark.
#include "TrackDriveScene.h"

#include "CarScene.h"
#include "XMLParser.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "physic/TerrainPhysicManager.h"
#include "track/CheckPointTracker.h"
#include "track/MapDescription.h"
#include "track/TerrainObject.h"

#include <chrono>

TrackDriveScene::TrackDriveScene(const std::string& trackFile, const std::string& cacheFolder)
    : race(cacheFolder), map(&race, race.getPhysicScene())
{
    CarScene::prepareMedia();
    // The tiles' road shapes take the road material: it must be there before them.
    CarScene::prepareRace(*race.getPhysicScene(), race.getSceneManager());
    const auto begin = std::chrono::steady_clock::now();
    const std::string path = "../media/maps/" + trackFile;
    const auto description = XMLParser::getInstance()->loadMapDescription(path);
    TerrainObject& terrain = *race.getTerrainObject();
    terrain.load(description->terrainName);
    map.setScale(terrain.getHorizontalScale(), terrain.getPageSize());
    map.load(path);
    map.buildTiles();
    map.buildTrackSpline();
    PhysicBase& physics = *race.getPhysicBase();
    physics.setPaging(false);  // the bake's rays see every shape
    tally = map.bakeLightMaps();
    physics.setPaging(true);
    map.createBoundaries();
    terrainPhysics = std::make_unique<TerrainPhysicManager>(&physics, &terrain);
    terrainPhysics->createPagedPatches();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

TrackDriveScene::~TrackDriveScene()
{
    map.getCheckPointTracker()->setCar(nullptr);
    race.getPhysicBase()->clearPagedActors();
}

std::unique_ptr<Car> TrackDriveScene::makeCarAtStart(const CarDesc& desc)
{
    CheckPointTracker& tracker = *map.getCheckPointTracker();
    const Ogre::Vector2 start = tracker.getStartPosition();
    const float ground = race.getTerrainObject()->getHeight(start);
    auto car = std::make_unique<Car>("Player", &desc, Ogre::Vector3(start.x, ground, start.y),
                                     tracker.getStartOrientation(), race.getPhysicScene(), race.getSceneManager(),
                                     race.getTerrainObject());
    tracker.setCar(car.get());
    return car;
}

std::unique_ptr<Car> TrackDriveScene::makeCarAfterTheCountdown(const CarDesc& desc)
{
    auto car = makeCarAtStart(desc);
    car->setStopped(true);
    for (float t = 0; t < kCountdown; t += kStep)
        step(*car);
    car->setStopped(false);
    return car;
}

bool TrackDriveScene::step(Car& car)
{
    PhysicBase& physics = *race.getPhysicBase();
    physics.pagingUpdate();
    physics.simulate(1.0f);  // the nodes follow the bodies' latest poses
    car.onPhysicStep(kStep);
    return map.getCheckPointTracker()->update();
}
