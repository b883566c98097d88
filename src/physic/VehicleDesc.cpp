// A vehicle description's defaults, and the vehicle built from it.
#include "physic/VehicleDesc.h"

#include "physic/MeshEntity.h"
#include "physic/PhysicsConversions.h"
#include "physic/VehicleSR.h"
#include "physic/getMeshVertices.h"
#include "platform/physics/body.h"
#include "platform/physics/convexShape.h"
#include "platform/physics/scene.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <memory>

void VehicleDesc::setToDefault()
{
    mass = 1000.0f;
    motor.setToDefault();
    gearbox.setToDefault();
}

VehicleSR* VehicleDesc::createVehicle(std::string& prefix, const Ogre::Vector3& position, nxOgre::scene* scene,
                                      Ogre::SceneManager* sceneManager)
{
    prefix += name;
    // The convex chassis from the physics mesh's vertices
    Ogre::Entity* hullEntity = createMeshEntity(*sceneManager, prefix + "physicMesh", physicsMesh);
    const std::vector<Ogre::Vector3> vertices = getMeshVertices(hullEntity);
    sceneManager->destroyEntity(hullEntity);
    std::vector<nxOgre::NxVec3> points;
    points.reserve(vertices.size());
    for (const Ogre::Vector3& v : vertices)
        points.push_back(toPhysics(v));
    nxOgre::material* chassisMaterial = scene->createMaterial(prefix + "convexMaterial", 0.3f, 0.3f, 0.5f);
    nxOgre::shapeGroup shapes;
    shapes.add(std::make_unique<nxOgre::convexShape>(points, chassisMaterial->getMaterialIndex()));

    // The body, its nodes, the wheels; frozen meanwhile
    auto vehicle = std::make_unique<VehicleSR>(prefix, scene, sceneManager, graphicMesh, shapes, mass,
                                               nxOgre::pose(toPhysics(position)));
    vehicle->carNode = vehicle->bodyNode->createChildSceneNode(prefix + "carNode");
    nxOgre::body* body = vehicle->getBody();
    body->freezeAll();
    for (std::size_t i = 0; i < wheels.size(); ++i)
        if (Wheel* wheel = wheels[i].createWheel(prefix + "Wheel" + std::to_string(i), scene, body, vehicle->bodyNode))
            vehicle->wheels.emplace_back(wheel);

    // Steering, drivetrain, drag
    vehicle->steeringRestriction = steeringRestriction;
    vehicle->steeringSpeed = steeringSpeed;
    vehicle->motor = std::make_unique<Motor>(motor);
    vehicle->gearbox = std::make_unique<Gearbox>(gearbox, vehicle->motor.get());
    vehicle->airResistance = airResistance;
    vehicle->brake = 0.0f;

    // The centre of mass, moved from where the hull puts it
    nxOgre::NxActor& actor = *body->getNxActor();
    const Ogre::Vector3 centre = toOgre(actor.getCMassLocalPosition()) + centerOfMass;
    actor.setCMassOffsetLocalPosition(toPhysics(centre));
    vehicle->centerOfMass = centre;
    body->unFreezeAll();
    vehicle->complete = true;
    return vehicle.release();
}
