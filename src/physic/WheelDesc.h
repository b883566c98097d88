// One wheel of a vehicle description, and how it becomes a live Wheel on the chassis.
#pragma once

#include "physic/Wheel.h"

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <string>

namespace Ogre
{
class SceneNode;
}

namespace nxOgre
{
class body;
class scene;
}

struct WheelDesc
{
    Ogre::Vector3 position = Ogre::Vector3::ZERO;  // top of the travel, chassis frame
    Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;  // written by createWheel
    float radius = 1.0f;            // units
    float spring = 1.0f;            // N per unit, before the travel scaling
    float damper = 0.0f;            // N per unit/s, before the travel scaling
    float springTarget = 0.0f;      // 0..1 of the travel, before the travel scaling
    float suspensionTravel = 1.0f;  // units
    int type = Wheel::kFree;
    bool hasBrakes = false;
    Wheel::TireFunctions tires;     // our layer's default road tyre in every role
    std::string mesh;               // mesh of the wheel entity

    static constexpr float kInverseWheelMass = 0.01f;  // 1/kg

    WheelDesc() { setToDefault(); }
    // Geometry, springs, type and brakes back to their defaults; position, orientation,
    // tyres and mesh stay.
    void setToDefault();

    // Makes the wheel shape on the body's actor and the wheel's nodes below chassisNode
    // (in chassisNode's scene manager), all named from name. Null for type 0, which still
    // makes the tyre material. The quarter turn it uses is written into orientation.
    Wheel* createWheel(const std::string& name, nxOgre::scene* scene, nxOgre::body* body, Ogre::SceneNode* chassisNode);
};
