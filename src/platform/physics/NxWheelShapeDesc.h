// The description a wheel shape is created from on a chassis actor.
#pragma once

#include "platform/physics/NxTireFunctionDesc.h"
#include "platform/physics/material.h"

#include <LinearMath/btTransform.h>

namespace nxOgre
{

// Wheel flags: the tyre functions take slip velocities (units per second). Our wheel always
// works that way; the flags are kept so that descriptions read as they were written.
constexpr unsigned NX_WF_INPUT_LAT_SLIPVELOCITY = 2;
constexpr unsigned NX_WF_INPUT_LNG_SLIPVELOCITY = 4;

struct NxSpringDesc
{
    float spring = 0.0f;       // N per unit of compression
    float damper = 0.0f;       // N per unit/s of compression speed
    float targetValue = 0.0f;  // 0..1: where along the travel the spring is relaxed
};

struct NxWheelShapeDesc
{
    // In the actor's frame. The suspension runs along the pose's -y, the wheel rolls along
    // its +z and steers about its +y.
    btTransform localPose = btTransform::getIdentity();
    float radius = 1.0f;
    float suspensionTravel = 1.0f;
    NxSpringDesc suspension;
    NxTireFunctionDesc longitudalTireForceFunction;
    NxTireFunctionDesc lateralTireForceFunction;
    float inverseWheelMass = 1.0f;  // 1/kg; the axle's inertia is mass × radius²
    unsigned wheelFlags = 0;
    NxMaterialIndex materialIndex = 0;
    float motorTorque = 0.0f;  // N·m
    float brakeTorque = 0.0f;  // N·m
    float steerAngle = 0.0f;   // radians
};

}
