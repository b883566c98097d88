// The physics description of a car (meshes, mass, drag, steering curves, wheels, motor,
// gearbox), and how it becomes a live VehicleSR.
#pragma once

#include "physic/GearboxDesc.h"
#include "physic/LinearCurve.h"
#include "physic/MotorDesc.h"
#include "physic/WheelDesc.h"

#include <OGRE/OgreVector.h>

#include <string>
#include <vector>

namespace Ogre
{
class SceneManager;
}

namespace nxOgre
{
class scene;
}

class VehicleSR;

struct VehicleDesc
{
    std::string name;
    std::string graphicMesh;
    std::string physicsMesh;                        // its vertices make the convex hull
    std::vector<WheelDesc> wheels;                  // wheel i becomes "Wheel<i>"
    float airResistance = 0.0f;                     // N per (unit/s)²
    float mass = 1000.0f;                           // kg
    Ogre::Vector3 centerOfMass = Ogre::Vector3::ZERO;  // added to the hull's own centre
    LinearCurve steeringRestriction;                // km/h -> largest steer angle, rad
    LinearCurve steeringSpeed;                      // km/h -> steer speed factor
    MotorDesc motor;
    GearboxDesc gearbox;

    VehicleDesc() { setToDefault(); }
    // Mass 1000 and the motor and gearbox defaults; the rest stays.
    void setToDefault();

    // Builds the vehicle at position in the physics scene, its nodes and entities in
    // sceneManager. name gets the description's name appended and prefixes every object
    // made. Throws the engine's exception when the meshes are missing or the chassis
    // can't be made.
    VehicleSR* createVehicle(std::string& name, const Ogre::Vector3& position, nxOgre::scene* scene,
                             Ogre::SceneManager* sceneManager);
};
