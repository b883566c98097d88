// The test car's construction.
#include "TestCar.h"

#include "platform/physics/convexShape.h"

#include <btBulletDynamicsCommon.h>

namespace testcar
{

nxOgre::NxTireFunctionDesc longitudalTyre(float stiffness)
{
    nxOgre::NxTireFunctionDesc tyre;
    tyre.extremumSlip = 2.0f;
    tyre.extremumValue = 1.0f;
    tyre.asymptoteSlip = 8.0f;
    tyre.asymptoteValue = 0.75f;
    tyre.stiffnessFactor = stiffness;
    return tyre;
}

nxOgre::NxTireFunctionDesc lateralTyre(float stiffness)
{
    nxOgre::NxTireFunctionDesc tyre;
    tyre.extremumSlip = 1.5f;
    tyre.extremumValue = 0.75f;
    tyre.asymptoteSlip = 6.0f;
    tyre.asymptoteValue = 0.6f;
    tyre.stiffnessFactor = stiffness;
    return tyre;
}

float Car::forwardSpeed() const
{
    const btVector3 forward = actor().getGlobalPose().getBasis().getColumn(0);
    return actor().getLinearVelocity().dot(forward);
}

float Car::yawRate() const
{
    const btVector3 up = actor().getGlobalPose().getBasis().getColumn(1);
    return actor().getAngularVelocity().dot(up);
}

void Car::setMotor(float torquePerRearWheel)
{
    wheels[2]->setMotorTorque(torquePerRearWheel);
    wheels[3]->setMotorTorque(torquePerRearWheel);
}

void Car::setBrake(float torquePerWheel)
{
    for (auto* wheel : wheels)
        wheel->setBrakeTorque(torquePerWheel);
}

void Car::setSteer(float angleRad)
{
    wheels[0]->setSteerAngle(angleRad);
    wheels[1]->setSteerAngle(angleRad);
}

Car makeCar(nxOgre::scene& scene, const std::string& name, const btVector3& at, const btQuaternion& turn,
            float lateralStiffness, float longitudalStiffness)
{
    // Chassis 4.2 × 1.2 × 1.8, a little narrower on top.
    std::vector<nxOgre::NxVec3> points;
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sy = -1; sy <= 1; sy += 2)
            for (int sz = -1; sz <= 1; sz += 2)
            {
                const float halfLength = sy > 0 ? 1.7f : 2.1f, halfWidth = sy > 0 ? 0.8f : 0.9f;
                points.emplace_back(sx * halfLength, sy * 0.6f + 0.3f, sz * halfWidth);
            }
    nxOgre::convexShape hull(points, 0);
    // Start with the wheels just touching the ground; they settle within a second.
    const btVector3 up = quatRotate(turn, btVector3(0, 1, 0));
    Car car;
    car.chassis = scene.createBody(name, hull, kMass, nxOgre::pose(at + up * (kTravel + kRadius - kWheelY - 0.1f), turn));
    car.chassis->getNxActor()->getRigidBody()->setDamping(0.0f, 0.2f);

    const btVector3 positions[4] = {{kWheelX, kWheelY, -kWheelZ}, {kWheelX, kWheelY, kWheelZ},
                                    {-kWheelX, kWheelY, -kWheelZ}, {-kWheelX, kWheelY, kWheelZ}};
    for (int i = 0; i < 4; ++i)
    {
        nxOgre::NxWheelShapeDesc desc;
        // A quarter turn about up: the wheel rolls along the chassis' +x.
        desc.localPose = btTransform(btQuaternion(0, 0.70710677f, 0, 0.70710677f), positions[i]);
        desc.radius = kRadius;
        desc.suspensionTravel = kTravel;
        desc.suspension.spring = 35000.0f;
        desc.suspension.damper = 2500.0f;
        desc.suspension.targetValue = 1.0f;
        desc.inverseWheelMass = 0.01f;
        desc.longitudalTireForceFunction = longitudalTyre(longitudalStiffness);
        desc.lateralTireForceFunction = lateralTyre(lateralStiffness);
        desc.wheelFlags = nxOgre::NX_WF_INPUT_LAT_SLIPVELOCITY | nxOgre::NX_WF_INPUT_LNG_SLIPVELOCITY;
        car.wheels[static_cast<std::size_t>(i)] = car.actor().createWheelShape(desc);
    }
    return car;
}

nxOgre::scene* makeGameScene(nxOgre::world& world, bool floor)
{
    nxOgre::scene* scene = world.createScene("DefaultScene");
    scene->hasFloor(floor);
    scene->setGravity(btVector3(0, -kGravity, 0));
    scene->setTiming(0, kStep, 1);
    return scene;
}

}
