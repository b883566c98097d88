// Actors on Bullet: static collision objects or a rigid body with a movable centre of mass.
#include "platform/physics/NxActor.h"

#include <btBulletDynamicsCommon.h>

namespace nxOgre
{
namespace
{
constexpr int kAllFilterBits = -1;

btMatrix3x3 outer(const btVector3& a, const btVector3& b)
{
    return btMatrix3x3(a.x() * b.x(), a.x() * b.y(), a.x() * b.z(), a.y() * b.x(), a.y() * b.y(), a.y() * b.z(),
                       a.z() * b.x(), a.z() * b.y(), a.z() * b.z());
}

btMatrix3x3 scaled(const btMatrix3x3& m, float s)
{
    return btMatrix3x3(m[0] * s, m[1] * s, m[2] * s);
}
}

std::unique_ptr<NxActor> NxActor::create(const NxActorDesc& desc, btDiscreteDynamicsWorld& world,
                                         NxIdleMeshShapes& idleShapes, std::string* error)
{
    std::unique_ptr<NxActor> actor(new NxActor());
    actor->name = desc.name;
    actor->world = &world;
    actor->idleShapes = &idleShapes;
    actor->group = desc.group;
    actor->shapeGroup = desc.shapeGroup < kShapeGroupCount ? desc.shapeGroup : 0;
    for (const NxShapeDesc* shapeDesc : desc.shapes)
    {
        if (!shapeDesc)
            continue;
        if (shapeDesc->type == NxShapeType::TriangleMesh)
        {
            const auto& meshDesc = static_cast<const NxTriangleMeshShapeDesc&>(*shapeDesc);
            if (!meshDesc.meshData)
            {
                if (error)
                    *error = "actor '" + desc.name + "': triangle-mesh shape without a mesh";
                return nullptr;
            }
        }
        Shape shape;
        shape.desc = shapeDesc->clone();
        shape.ownShape = shapeDesc->createCollisionShape();
        if (shape.ownShape)
            shape.collisionShape = shape.ownShape.get();
        else
            shape.collisionShape = static_cast<const NxTriangleMeshShapeDesc&>(*shapeDesc).meshData->acquireShape();
        actor->shapes.push_back(std::move(shape));
    }
    if (actor->shapes.empty())
    {
        if (error)
            *error = "actor '" + desc.name + "' has no shapes";
        return nullptr;
    }
    if (desc.dynamic)
    {
        if (!actor->buildDynamic(desc, error))
            return nullptr;
    }
    else
        actor->buildStatic(desc);
    return actor;
}

void NxActor::buildStatic(const NxActorDesc& desc)
{
    staticPose = desc.globalPose;
    for (std::size_t i = 0; i < shapes.size(); ++i)
    {
        Shape& shape = shapes[i];
        shape.staticObject = std::make_unique<btCollisionObject>();
        shape.staticObject->setCollisionShape(shape.collisionShape);
        shape.staticObject->setWorldTransform(staticPose * shape.desc->localPose);
        shape.staticObject->setCollisionFlags(btCollisionObject::CF_STATIC_OBJECT |
                                              btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
        shape.staticObject->setUserPointer(this);
        shape.staticObject->setUserIndex(static_cast<int>(i));
        // Asleep, as Bullet keeps its fixed bodies: the world then leaves its bounds alone.
        shape.staticObject->setActivationState(ISLAND_SLEEPING);
        world->addCollisionObject(shape.staticObject.get(), 1 << shapeGroup, kAllFilterBits);
    }
}

bool NxActor::buildDynamic(const NxActorDesc& desc, std::string* error)
{
    // Mass properties from the solid shapes, shared out by volume (uniform density).
    float totalVolume = 0.0f;
    struct Part
    {
        float volume;
        btVector3 centre;
        btMatrix3x3 unitInertia;
    };
    std::vector<Part> parts(shapes.size());
    for (std::size_t i = 0; i < shapes.size(); ++i)
    {
        if (shapes[i].desc->type == NxShapeType::TriangleMesh || shapes[i].desc->type == NxShapeType::Plane)
        {
            if (error)
                *error = "actor '" + desc.name + "': a moving actor can't have a plane or triangle-mesh shape";
            return false;
        }
        Part& part = parts[i];
        if (!shapes[i].desc->massProperties(part.volume, part.centre, part.unitInertia))
            part.volume = 0.0f;
        totalVolume += part.volume;
    }
    if (totalVolume <= 0.0f || desc.mass <= 0.0f)
    {
        if (error)
            *error = "actor '" + desc.name + "': a moving actor needs a positive mass and a solid shape";
        return false;
    }
    btVector3 centre(0, 0, 0);
    for (std::size_t i = 0; i < shapes.size(); ++i)
        centre += (shapes[i].desc->localPose * parts[i].centre) * (parts[i].volume / totalVolume);
    btMatrix3x3 inertia(0, 0, 0, 0, 0, 0, 0, 0, 0);
    for (std::size_t i = 0; i < shapes.size(); ++i)
    {
        if (parts[i].volume <= 0.0f)
            continue;
        const float partMass = desc.mass * parts[i].volume / totalVolume;
        const btMatrix3x3& rotation = shapes[i].desc->localPose.getBasis();
        const btVector3 offset = shapes[i].desc->localPose * parts[i].centre - centre;
        const btMatrix3x3 own = rotation * parts[i].unitInertia * rotation.transpose();
        const float d2 = offset.length2();
        const btMatrix3x3 parallel = btMatrix3x3(d2, 0, 0, 0, d2, 0, 0, 0, d2) - outer(offset, offset);
        inertia = inertia + scaled(own + parallel, partMass);
    }
    // Bullet wants the inertia diagonal: the centre-of-mass frame turns onto its principal axes.
    btMatrix3x3 principal;
    principal.setIdentity();
    inertia.diagonalize(principal, 1e-6f, 20);
    massFrame = btTransform(principal, centre);

    compound = std::make_unique<btCompoundShape>();
    const btTransform toMassFrame = massFrame.inverse();
    for (Shape& shape : shapes)
        compound->addChildShape(toMassFrame * shape.desc->localPose, shape.collisionShape);

    const btVector3 diagonalInertia(inertia[0][0], inertia[1][1], inertia[2][2]);
    btRigidBody::btRigidBodyConstructionInfo info(desc.mass, nullptr, compound.get(), diagonalInertia);
    info.m_startWorldTransform = desc.globalPose * massFrame;
    rigidBody = std::make_unique<btRigidBody>(info);
    rigidBody->setUserPointer(this);
    rigidBody->setCollisionFlags(rigidBody->getCollisionFlags() | btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
    world->addRigidBody(rigidBody.get(), 1 << shapeGroup, kAllFilterBits);
    return true;
}

NxActor::~NxActor()
{
    if (rigidBody)
        world->removeRigidBody(rigidBody.get());
    for (Shape& shape : shapes)
    {
        if (shape.staticObject)
            world->removeCollisionObject(shape.staticObject.get());
        // Out of the world first: Bullet drops the pairs that still point at the mesh.
        shape.staticObject.reset();
        if (!shape.ownShape && shape.desc->type == NxShapeType::TriangleMesh)
            static_cast<const NxTriangleMeshShapeDesc&>(*shape.desc).meshData->releaseShape(*idleShapes);
    }
}

void NxActor::applyFilter()
{
    // Bullet reads the filter when an object enters the world: re-enter it.
    if (rigidBody)
    {
        world->removeRigidBody(rigidBody.get());
        world->addRigidBody(rigidBody.get(), 1 << shapeGroup, kAllFilterBits);
    }
    for (Shape& shape : shapes)
        if (shape.staticObject)
        {
            world->removeCollisionObject(shape.staticObject.get());
            world->addCollisionObject(shape.staticObject.get(), 1 << shapeGroup, kAllFilterBits);
        }
}

void NxActor::setShapeGroup(unsigned groupIndex)
{
    if (groupIndex >= kShapeGroupCount || groupIndex == shapeGroup)
        return;
    shapeGroup = groupIndex;
    applyFilter();
}

NxMaterialIndex NxActor::getMaterialAt(int shapeIndex, int triangleIndex) const
{
    if (shapeIndex < 0 || static_cast<std::size_t>(shapeIndex) >= shapes.size())
        return 0;
    const NxShapeDesc& desc = *shapes[static_cast<std::size_t>(shapeIndex)].desc;
    if (desc.type == NxShapeType::TriangleMesh)
    {
        const auto& mesh = *static_cast<const NxTriangleMeshShapeDesc&>(desc).meshData;
        if (mesh.getTriangleCount() > 0 && triangleIndex >= 0 &&
            static_cast<std::size_t>(triangleIndex) < mesh.getTriangleCount())
        {
            // A mesh without its own materials takes the shape's.
            const NxMaterialIndex own = mesh.getTriangleMaterial(triangleIndex);
            return own != 0 ? own : desc.materialIndex;
        }
    }
    return desc.materialIndex;
}

int NxActor::shapeIndexOf(const btCollisionObject* object, int childIndex) const
{
    if (rigidBody && object == rigidBody.get())
        return childIndex >= 0 && static_cast<std::size_t>(childIndex) < shapes.size() ? childIndex : 0;
    return object ? object->getUserIndex() : -1;
}

btTransform NxActor::getGlobalPose() const
{
    if (rigidBody)
        return rigidBody->getWorldTransform() * massFrame.inverse();
    return staticPose;
}

void NxActor::setGlobalPose(const btTransform& pose)
{
    if (rigidBody)
    {
        const btTransform massPose = pose * massFrame;
        rigidBody->setWorldTransform(massPose);
        rigidBody->setInterpolationWorldTransform(massPose);
        world->updateSingleAabb(rigidBody.get());
        return;
    }
    staticPose = pose;
    for (Shape& shape : shapes)
    {
        shape.staticObject->setWorldTransform(staticPose * shape.desc->localPose);
        world->updateSingleAabb(shape.staticObject.get());
    }
}

float NxActor::getMass() const
{
    return rigidBody && rigidBody->getInvMass() > 0 ? 1.0f / rigidBody->getInvMass() : 0.0f;
}

btVector3 NxActor::getLinearVelocity() const
{
    return rigidBody ? rigidBody->getLinearVelocity() : btVector3(0, 0, 0);
}

void NxActor::setLinearVelocity(const btVector3& velocity)
{
    if (rigidBody && !frozen)
    {
        rigidBody->setLinearVelocity(velocity);
        rigidBody->activate(true);
    }
}

void NxActor::clearForces()
{
    if (rigidBody)
        rigidBody->clearForces();
}

btVector3 NxActor::getAngularVelocity() const
{
    return rigidBody ? rigidBody->getAngularVelocity() : btVector3(0, 0, 0);
}

void NxActor::setAngularVelocity(const btVector3& velocity)
{
    if (rigidBody && !frozen)
    {
        rigidBody->setAngularVelocity(velocity);
        rigidBody->activate(true);
    }
}

void NxActor::setLinearMomentum(const btVector3& momentum)
{
    if (rigidBody)
        setLinearVelocity(momentum * rigidBody->getInvMass());
}

void NxActor::setAngularMomentum(const btVector3& momentum)
{
    if (rigidBody)
        setAngularVelocity(rigidBody->getInvInertiaTensorWorld() * momentum);
}

void NxActor::setLinearDamping(float damping)
{
    if (rigidBody)
        rigidBody->setDamping(damping, rigidBody->getAngularDamping());
}

void NxActor::setAngularDamping(float damping)
{
    if (rigidBody)
        rigidBody->setDamping(rigidBody->getLinearDamping(), damping);
}

void NxActor::addForce(const btVector3& force, NxForceMode mode)
{
    if (!rigidBody || frozen)
        return;
    if (mode == NX_IMPULSE)
        rigidBody->applyCentralImpulse(force);
    else
        rigidBody->applyCentralForce(force);
    rigidBody->activate(true);
}

void NxActor::addForceAtPos(const btVector3& force, const btVector3& worldPoint, NxForceMode mode)
{
    if (!rigidBody || frozen)
        return;
    const btVector3 arm = worldPoint - rigidBody->getCenterOfMassPosition();
    if (mode == NX_IMPULSE)
        rigidBody->applyImpulse(force, arm);
    else
        rigidBody->applyForce(force, arm);
    rigidBody->activate(true);
}

btVector3 NxActor::getPointVelocity(const btVector3& worldPoint) const
{
    if (!rigidBody)
        return btVector3(0, 0, 0);
    return rigidBody->getVelocityInLocalPoint(worldPoint - rigidBody->getCenterOfMassPosition());
}

void NxActor::setCMassOffsetLocalPosition(const btVector3& position)
{
    if (!rigidBody)
        return;
    const btTransform actorPose = getGlobalPose();
    const btVector3 oldCentre = rigidBody->getCenterOfMassPosition();
    massFrame.setOrigin(position);
    const btTransform toMassFrame = massFrame.inverse();
    for (int i = 0; i < compound->getNumChildShapes(); ++i)
        compound->updateChildTransform(i, toMassFrame * shapes[static_cast<std::size_t>(i)].desc->localPose, false);
    compound->recalculateLocalAabb();
    const btTransform massPose = actorPose * massFrame;
    rigidBody->setWorldTransform(massPose);
    rigidBody->setInterpolationWorldTransform(massPose);
    // The actor keeps its motion: the new centre moves with the old one's velocity field.
    const btVector3 omega = rigidBody->getAngularVelocity();
    rigidBody->setLinearVelocity(rigidBody->getLinearVelocity() + omega.cross(massPose.getOrigin() - oldCentre));
    rigidBody->updateInertiaTensor();
    world->updateSingleAabb(rigidBody.get());
}

btVector3 NxActor::getCMassGlobalPosition() const
{
    return rigidBody ? rigidBody->getCenterOfMassPosition() : staticPose.getOrigin();
}

bool NxActor::isSleeping() const
{
    return rigidBody && rigidBody->getActivationState() == ISLAND_SLEEPING;
}

void NxActor::putToSleep()
{
    if (!rigidBody)
        return;
    rigidBody->setLinearVelocity(btVector3(0, 0, 0));
    rigidBody->setAngularVelocity(btVector3(0, 0, 0));
    rigidBody->setActivationState(ISLAND_SLEEPING);
}

void NxActor::wakeUp()
{
    if (rigidBody)
        rigidBody->activate(true);
}

void NxActor::freezeAll(bool freeze)
{
    if (!rigidBody)
        return;
    frozen = freeze;
    const btVector3 factor = freeze ? btVector3(0, 0, 0) : btVector3(1, 1, 1);
    rigidBody->setLinearFactor(factor);
    rigidBody->setAngularFactor(factor);
    if (freeze)
    {
        rigidBody->setLinearVelocity(btVector3(0, 0, 0));
        rigidBody->setAngularVelocity(btVector3(0, 0, 0));
    }
    rigidBody->activate(true);
}

NxWheelShape* NxActor::createWheelShape(const NxWheelShapeDesc& desc)
{
    if (!rigidBody)
        return nullptr;
    wheels.push_back(std::make_unique<NxWheelShape>(*this, desc));
    return wheels.back().get();
}

void NxActor::updateWheels(WheelRayCaster& ground, float dt, const btVector3& gravity)
{
    if (wheels.empty() || !rigidBody || frozen)
        return;
    bool wake = false;
    for (const auto& wheel : wheels)
        wake = wheel->takeInputsChanged() || wake || wheel->getMotorTorque() != 0.0f;
    if (wake)
        rigidBody->activate(true);
    if (isSleeping())
        return;
    // Wheel by wheel, one wheel's suspension impulse would read as slip at the next.
    constexpr int kHoldIterations = 4;
    const btTransform pose = getGlobalPose();
    btVector3 boxMin(BT_LARGE_FLOAT, BT_LARGE_FLOAT, BT_LARGE_FLOAT);
    btVector3 boxMax = -boxMin;
    for (const auto& wheel : wheels)
    {
        btVector3 from, to;
        wheel->getRay(pose, from, to);
        boxMin.setMin(from);
        boxMin.setMin(to);
        boxMax.setMax(from);
        boxMax.setMax(to);
    }
    ground.beginWheelRays(boxMin, boxMax);
    for (const auto& wheel : wheels)
        wheel->castAndSpring(ground, pose, dt);
    ground.endWheelRays();
    for (const auto& wheel : wheels)
        wheel->applyTyreForces(dt);
    for (int i = 0; i < kHoldIterations; ++i)
        for (const auto& wheel : wheels)
            wheel->holdIteration(dt, gravity);
}

}
