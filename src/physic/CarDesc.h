// Everything a car file describes: cameras, sounds, the brake-light material and the
// physics description it owns.
#pragma once

#include "physic/CarCamDesc.h"
#include "physic/SoundDesc.h"
#include "physic/VehicleDesc.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CarDesc
{
public:
    CarDesc() : vehicle(std::make_unique<VehicleDesc>()) {}
    CarDesc(const CarDesc& other) : CarDesc() { *this = other; }
    CarDesc& operator=(const CarDesc& other);
    virtual ~CarDesc() = default;

    std::string name;
    std::map<std::string, CarCamDesc> cameras;  // by name
    std::string followCamera, bumperCamera, hoodCamera, cockpitCamera;  // empty or a key of cameras
    std::vector<SoundDesc> motorSounds;       // controlled by the engine rpm
    std::vector<SoundDesc> carCrashSounds;    // controlled by the chassis contact force
    std::vector<SoundDesc> wheelCrashSounds;  // controlled by the wheel contact force
    SoundDesc skidSound;
    SoundDesc terrainSound;
    SoundDesc crashTouchSound;
    std::string brakeLightMaterial;  // material of the chassis' brake-light sub-meshes
    std::unique_ptr<VehicleDesc> vehicle;
};
