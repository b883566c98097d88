// Deep copy of a car description.
#include "physic/CarDesc.h"

CarDesc& CarDesc::operator=(const CarDesc& other)
{
    if (this == &other)
        return *this;
    name = other.name;
    cameras = other.cameras;
    followCamera = other.followCamera;
    bumperCamera = other.bumperCamera;
    hoodCamera = other.hoodCamera;
    cockpitCamera = other.cockpitCamera;
    motorSounds = other.motorSounds;
    carCrashSounds = other.carCrashSounds;
    wheelCrashSounds = other.wheelCrashSounds;
    skidSound = other.skidSound;
    terrainSound = other.terrainSound;
    crashTouchSound = other.crashTouchSound;
    brakeLightMaterial = other.brakeLightMaterial;
    *vehicle = *other.vehicle;
    return *this;
}
