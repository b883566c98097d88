// A built-in track loaded headless the way a race loads it (terrain, tiles, spline,
// lightmaps, boundaries, terrain collision), in a race scene with the road and terrain
// materials and the two lights, ready for the player's car.
#pragma once

#include "RaceTestScene.h"
#include "track/MapObject.h"

#include <memory>
#include <string>

class Car;
class CarDesc;
class TerrainPhysicManager;

class TrackDriveScene
{
public:
    static constexpr float kStep = 0.01f;  // seconds

    // trackFile: a file of the build's media/maps/; cacheFolder: the per-user folder of
    // the lightmap cache, "" to bake without one.
    explicit TrackDriveScene(const std::string& trackFile, const std::string& cacheFolder = "");
    ~TrackDriveScene();
    TrackDriveScene(const TrackDriveScene&) = delete;
    TrackDriveScene& operator=(const TrackDriveScene&) = delete;

    static constexpr float kCountdown = 0.5f;  // seconds a car is held at the start

    // The car on the tracker's start pose, followed by the tracker.
    std::unique_ptr<Car> makeCarAtStart(const CarDesc& desc);
    // The same car held through the countdown and let go, as a race does.
    std::unique_ptr<Car> makeCarAfterTheCountdown(const CarDesc& desc);
    // One fixed step as the race runs it: paging, the world, the car, the tracker.
    // False once the car is in the finish box after every gate.
    bool step(Car& car);

    MapObject& track() { return map; }
    RaceTestScene& scene() { return race; }
    double loadSeconds() const { return seconds; }
    LightMapTally lightMaps() const { return tally; }

private:
    RaceTestScene race;
    MapObject map;
    std::unique_ptr<TerrainPhysicManager> terrainPhysics;
    double seconds = 0.0;
    LightMapTally tally;
};
