// A wheel description's defaults, and the live wheel made from it.
#include "physic/WheelDesc.h"

#include "physic/MeshEntity.h"
#include "physic/PhysicsConversions.h"
#include "platform/physics/body.h"
#include "platform/physics/scene.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <algorithm>
#include <memory>

namespace
{
// A quarter turn about up: the wheel shape rolls along its +z, the chassis drives along +x.
const Ogre::Quaternion kQuarterTurn(0.70710677f, 0.0f, 0.70710677f, 0.0f);
}

void WheelDesc::setToDefault()
{
    radius = 1.0f;
    spring = 1.0f;
    damper = 0.0f;
    springTarget = 0.0f;
    suspensionTravel = 1.0f;
    type = Wheel::kFree;
    hasBrakes = false;
}

Wheel* WheelDesc::createWheel(const std::string& name, nxOgre::scene* scene, nxOgre::body* body,
                              Ogre::SceneNode* chassisNode)
{
    // Tyres have no contact friction of their own: their grip is the wheel's.
    nxOgre::material* tireMaterial = scene->createMaterial(name + "TireMat", 0.0f, 0.0f, 0.0f);
    tireMaterial->setFlags(nxOgre::NX_MF_DISABLE_FRICTION);
    if (type == Wheel::kNoWheel)
        return nullptr;

    auto wheel = std::make_unique<Wheel>(scene);
    // The car file's springs are per unit of travel; the shape works on travel + radius.
    const float scale = (suspensionTravel + radius) / suspensionTravel;
    nxOgre::NxWheelShapeDesc shapeDesc;
    shapeDesc.radius = radius;
    shapeDesc.suspensionTravel = suspensionTravel;
    shapeDesc.suspension.spring = spring * scale;
    shapeDesc.suspension.damper = damper * scale;
    shapeDesc.suspension.targetValue = std::clamp(springTarget * scale, 0.0f, 1.0f);
    shapeDesc.longitudalTireForceFunction = tires.parkLongitudinal;
    shapeDesc.lateralTireForceFunction = tires.parkLateral;
    shapeDesc.inverseWheelMass = kInverseWheelMass;
    shapeDesc.wheelFlags = nxOgre::NX_WF_INPUT_LAT_SLIPVELOCITY | nxOgre::NX_WF_INPUT_LNG_SLIPVELOCITY;
    shapeDesc.materialIndex = tireMaterial->getMaterialIndex();
    orientation = kQuarterTurn;
    shapeDesc.localPose = nxOgre::NxPose(toPhysics(position), toPhysics(orientation));
    wheel->setShape(body->getNxActor()->createWheelShape(shapeDesc));
    wheel->setGeometry(type, hasBrakes, radius, suspensionTravel);

    Ogre::SceneManager* sceneManager = chassisNode->getCreator();
    Ogre::Entity* entity = createMeshEntity(*sceneManager, name, mesh);
    Ogre::SceneNode* wheelNode = chassisNode->createChildSceneNode(name, position, orientation);
    Ogre::SceneNode* rollNode = wheelNode->createChildSceneNode(name + "Roll");
    rollNode->attachObject(entity);
    rollNode->setOrientation(kQuarterTurn);
    wheel->setNodes(wheelNode, rollNode, entity);
    wheel->setSteerSpeed(0.8f);
    wheel->setSteerAngleNow(0.0f);
    wheel->setTireFunctions(tires);
    wheel->storeRestPosition();
    return wheel.release();
}
