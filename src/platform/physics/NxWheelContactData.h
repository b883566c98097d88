// What a wheel found under it in the last step.
#pragma once

#include "platform/physics/material.h"

#include <LinearMath/btVector3.h>

namespace nxOgre
{

struct NxWheelContactData
{
    btVector3 contactPoint{0, 0, 0};
    btVector3 contactNormal{0, 0, 0};
    btVector3 longitudalDirection{0, 0, 0};  // the wheel's heading on the ground plane
    btVector3 lateralDirection{0, 0, 0};     // its side on the ground plane
    float contactForce = 0.0f;               // N: the suspension's load
    float longitudalSlip = 0.0f;             // units/s: rim speed minus ground speed
    float lateralSlip = 0.0f;                // units/s: sideways speed over the ground
    float longitudalImpulse = 0.0f;          // N·s along the heading in the last step
    float lateralImpulse = 0.0f;             // N·s sideways in the last step
    NxMaterialIndex otherShapeMaterialIndex = 0;
    float contactPosition = 0.0f;            // how far the wheel centre sits below the pose's origin
};

}
