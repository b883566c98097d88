// A physics actor: a static one is a set of fixed collision objects, a dynamic one a Bullet
// rigid body whose centre of mass is kept apart from the actor's own frame, so that it can
// be moved without moving the actor. Wheel shapes ride on dynamic actors.
#pragma once

#include "platform/physics/NxActorDesc.h"
#include "platform/physics/NxVectors.h"
#include "platform/physics/NxWheelShape.h"

#include <memory>
#include <vector>

class btCollisionObject;
class btCollisionShape;
class btCompoundShape;
class btDiscreteDynamicsWorld;
class btRigidBody;

namespace nxOgre
{

class NxIdleMeshShapes;
class scene;

// Force modes of addForce.
enum NxForceMode
{
    NX_FORCE = 0,    // N, acts over the next step
    NX_IMPULSE = 1,  // N·s, at once
};

class NxActor
{
public:
    // Made by the scene; fails (null, with error) for dynamic actors without a solid shape
    // or with a triangle mesh, or for shapes Bullet can't take. The meshes' shapes it gives
    // back wait among idleShapes, which must outlive the actor.
    static std::unique_ptr<NxActor> create(const NxActorDesc& desc, btDiscreteDynamicsWorld& world,
                                           NxIdleMeshShapes& idleShapes, std::string* error);
    ~NxActor();
    NxActor(const NxActor&) = delete;
    NxActor& operator=(const NxActor&) = delete;

    const std::string& getName() const { return name; }
    bool isDynamic() const { return rigidBody != nullptr; }
    NxActorGroup getGroup() const { return group; }
    void setGroup(NxActorGroup actorGroup) { group = actorGroup; }
    unsigned getShapeGroup() const { return shapeGroup; }
    void setShapeGroup(unsigned groupIndex);

    // Shapes in the order of the description; their materials and the per-triangle ones.
    std::size_t getShapeCount() const { return shapes.size(); }
    const NxShapeDesc& getShape(std::size_t index) const { return *shapes[index].desc; }
    NxMaterialIndex getMaterialAt(int shapeIndex, int triangleIndex) const;
    // Which of our shapes a Bullet collision object or compound child is.
    int shapeIndexOf(const btCollisionObject* object, int childIndex) const;

    btTransform getGlobalPose() const;
    void setGlobalPose(const btTransform& pose);
    btVector3 getGlobalPosition() const { return getGlobalPose().getOrigin(); }
    btQuaternion getGlobalOrientationQuat() const { return getGlobalPose().getRotation(); }

    // Dynamic actors only; static ones answer zero and ignore the setters.
    float getMass() const;
    btVector3 getLinearVelocity() const;
    void setLinearVelocity(const btVector3& velocity);
    btVector3 getAngularVelocity() const;
    void setAngularVelocity(const btVector3& velocity);
    void setLinearMomentum(const btVector3& momentum);
    void setAngularMomentum(const btVector3& momentum);
    void setLinearDamping(float damping);
    void setAngularDamping(float damping);
    void addForce(const btVector3& force, NxForceMode mode = NX_FORCE);
    // Drops the forces gathered for the next step.
    void clearForces();
    void addForceAtPos(const btVector3& force, const btVector3& worldPoint, NxForceMode mode = NX_FORCE);
    btVector3 getPointVelocity(const btVector3& worldPoint) const;
    // The centre of mass in the actor's frame, and moving it there.
    btVector3 getCMassLocalPosition() const { return massFrame.getOrigin(); }
    void setCMassOffsetLocalPosition(const btVector3& position);
    btVector3 getCMassGlobalPosition() const;

    bool isSleeping() const;
    void putToSleep();
    void wakeUp();
    // Freezing stops every motion until unfrozen.
    void freezeAll(bool frozen);
    bool isFrozen() const { return frozen; }

    NxWheelShape* createWheelShape(const NxWheelShapeDesc& desc);
    const std::vector<std::unique_ptr<NxWheelShape>>& getWheelShapes() const { return wheels; }
    // One wheel step for all wheels: every suspension first, then every tyre, then the hold.
    void updateWheels(WheelRayCaster& ground, float dt, const btVector3& gravity);

    btRigidBody* getRigidBody() const { return rigidBody.get(); }
    void* userData = nullptr;           // the wrapper's body, when there is one
    const scene* ownerScene = nullptr;  // for material look-ups during contacts

private:
    NxActor() = default;
    bool buildDynamic(const NxActorDesc& desc, std::string* error);
    void buildStatic(const NxActorDesc& desc);
    void applyFilter();

    struct Shape
    {
        std::unique_ptr<NxShapeDesc> desc;                // our copy
        std::unique_ptr<btCollisionShape> ownShape;       // null for shared meshes
        btCollisionShape* collisionShape = nullptr;
        std::unique_ptr<btCollisionObject> staticObject;  // static actors: one object per shape
    };

    std::string name;
    btDiscreteDynamicsWorld* world = nullptr;
    NxIdleMeshShapes* idleShapes = nullptr;  // the scene's
    NxActorGroup group = 0;
    unsigned shapeGroup = 0;
    std::vector<Shape> shapes;
    btTransform staticPose = btTransform::getIdentity();
    std::unique_ptr<btCompoundShape> compound;
    std::unique_ptr<btRigidBody> rigidBody;
    btTransform massFrame = btTransform::getIdentity();  // the centre-of-mass frame in the actor's frame
    bool frozen = false;
    std::vector<std::unique_ptr<NxWheelShape>> wheels;
};

}
