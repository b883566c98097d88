// A physics scene on a Bullet world: materials, actor groups, actors and bodies, a floor,
// gravity, the fixed step with the wheels run before Bullet integrates, ray casts and
// contact reports.
#pragma once

#include "platform/physics/NxActor.h"
#include "platform/physics/NxIdleMeshShapes.h"
#include "platform/physics/NxRaycastHit.h"
#include "platform/physics/body.h"
#include "platform/physics/customContactReporter.h"
#include "platform/physics/material.h"
#include "platform/physics/pose.h"
#include "platform/physics/shapeGroup.h"

#include <LinearMath/btVector3.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

struct btBroadphaseProxy;
struct btCollisionAlgorithmCreateFunc;
class btCollisionDispatcher;
struct btDbvtBroadphase;
class btDefaultCollisionConfiguration;
class btDiscreteDynamicsWorld;
class btDynamicsWorld;
class btSequentialImpulseConstraintSolver;

namespace nxOgre
{

class PhysicsLog;

class scene : public WheelRayCaster
{
public:
    scene(const std::string& name, PhysicsLog* log);
    ~scene() override;
    scene(const scene&) = delete;
    scene& operator=(const scene&) = delete;

    const std::string& getName() const { return sceneName; }

    // A static plane through the origin facing +y.
    void hasFloor(bool floor);
    void hasGravity(bool gravityOn);
    void setGravity(const btVector3& acceleration);
    btVector3 getGravity() const { return gravity; }
    // The step is taken as given whatever the method; a step longer than maxStep is cut into
    // up to maxIterations pieces.
    void setTiming(int method, float maxStep, unsigned maxIterations);

    // Materials: "Default" is index 0 and always there. Creating an existing name returns
    // the existing material unchanged.
    material* createMaterial(const std::string& name, float bounce, float staticFriction, float dynamicFriction);
    // A second name for a material of this scene (meshes whose sub-meshes are named after
    // another surface): findMaterial and findMaterialIndex give the existing material under
    // it. A name already taken keeps what it names; null for a material not of this scene.
    material* createMaterialAlias(const std::string& alias, material* existing);
    material* findMaterial(const std::string& name) const;
    // Unknown names give 0, the default material.
    NxMaterialIndex findMaterialIndex(const std::string& name) const;
    const material* getMaterialFromIndex(NxMaterialIndex index) const;

    // Actor groups by name; an unknown name gets the next free index.
    NxActorGroup findGroupIndex(const std::string& name);

    // Actors; null (with the reason in the log) when the description can't be built.
    NxActor* createActor(const NxActorDesc& desc);
    void releaseActor(NxActor* actor);
    std::size_t getActorCount() const { return actors.size(); }
    // Where the triangle-mesh shapes that the actors gave back wait, within their budget.
    NxIdleMeshShapes& getIdleMeshShapes() { return idleMeshShapes; }
    const NxIdleMeshShapes& getIdleMeshShapes() const { return idleMeshShapes; }

    // Bodies: moving actors with a name. Null for a taken name or a group without shapes.
    body* createBody(const std::string& name, const shapeGroup& shapes, float mass, const pose& at);
    body* createBody(const std::string& name, const shape& single, float mass, const pose& at);
    body* findBody(const std::string& name) const;
    void destroyBody(const std::string& name);
    // Every body of the scene, asleep or not.
    std::vector<body*> getActiveBodies() const;

    // Ray casts against the shapes of the given kinds whose shape group's bit is set in
    // groups; maxDistance in units along the normalised direction.
    bool raycastAnyShape(const NxRay& ray, NxShapesType types, unsigned groups = kAllShapeGroups,
                         float maxDistance = kUnlimitedRay) const;
    bool raycastClosestShape(const NxRay& ray, NxShapesType types, NxRaycastHit& hit,
                             unsigned groups = kAllShapeGroups, float maxDistance = kUnlimitedRay) const;
    // Bullet needs an end point: "unlimited" rays stop here.
    static constexpr float kUnlimitedRay = 100000.0f;

    // Contact reports: pairs in which an actor of a reporting group takes part.
    void addContactReporter(customContactReporter* reporter);
    void removeContactReporter(customContactReporter* reporter);
    void setGroupContactReport(NxActorGroup group, bool report);

    // One step of dt seconds.
    void simulate(float dt);
    // Tells every body its blended pose.
    void render(float alpha);

    WheelRayHit castWheelRay(const btVector3& from, const btVector3& to, const btCollisionObject* exclude) override;
    void beginWheelRays(const btVector3& boxMin, const btVector3& boxMax) override;
    void endWheelRays() override;
    btDiscreteDynamicsWorld& getDynamicsWorld() const { return *dynamicsWorld; }
    // Writes a line to the physics log.
    void logLine(const std::string& line) const;

private:
    static void preTick(btDynamicsWorld* world, float dt);
    body* createBodyFrom(const std::string& name, const std::vector<const NxShapeDesc*>& shapes, float mass,
                         const pose& at);
    void reportContacts(float dt);

    std::string sceneName;
    PhysicsLog* log;
    NxIdleMeshShapes idleMeshShapes;  // before the actors, which give their meshes' shapes back to it
    std::unique_ptr<btDefaultCollisionConfiguration> configuration;
    // Chassis hulls against meshes; the dispatcher holds them, so they outlive it.
    std::unique_ptr<btCollisionAlgorithmCreateFunc> hullMeshCollision;
    std::unique_ptr<btCollisionAlgorithmCreateFunc> meshHullCollision;
    std::unique_ptr<btCollisionDispatcher> dispatcher;
    // A tree broadphase: the wheel rays read the boxes of its leaves.
    std::unique_ptr<btDbvtBroadphase> broadphase;
    std::unique_ptr<btSequentialImpulseConstraintSolver> solver;
    std::unique_ptr<btDiscreteDynamicsWorld> dynamicsWorld;

    btVector3 gravity{0, -9.80665f, 0};
    bool gravityOn = true;
    float maxTimestep = 1.0f / 60.0f;
    unsigned maxIterations = 8;

    std::vector<std::unique_ptr<material>> materials;
    std::map<std::string, NxMaterialIndex> materialIndices;
    std::map<std::string, NxActorGroup> groups;
    std::vector<bool> reportingGroups;
    std::vector<customContactReporter*> reporters;

    // What lies in the box of the car whose wheels are casting now (see beginWheelRays).
    std::vector<const btBroadphaseProxy*> wheelRayGround;
    bool wheelRayGroundGathered = false;
    btVector3 wheelRayBoxMin{0, 0, 0};
    btVector3 wheelRayBoxMax{0, 0, 0};

    std::unique_ptr<NxPlaneShapeDesc> floorShape;
    NxActor* floorActor = nullptr;
    std::vector<std::unique_ptr<NxActor>> actors;
    std::map<std::string, std::unique_ptr<body>> bodies;
};

}
