// Physics scene on Bullet.
#include "platform/physics/scene.h"

#include "platform/physics/HullMeshCollision.h"
#include "platform/physics/PhysicsLog.h"

#include <BulletCollision/BroadphaseCollision/btDbvtBroadphase.h>
#include <BulletCollision/CollisionDispatch/btInternalEdgeUtility.h>
#include <btBulletDynamicsCommon.h>

#include <cmath>

namespace nxOgre
{
namespace
{
const btCollisionObject* objectOf(const btCollisionObjectWrapper* wrapper)
{
    return wrapper->getCollisionObject();
}

// The material and, for smooth meshes, the mesh of one side of a new contact.
struct ContactSide
{
    const material* surface = nullptr;
    bool smoothMesh = false;
};

ContactSide describeSide(const btCollisionObjectWrapper* wrapper, int index)
{
    ContactSide side;
    const btCollisionObject* object = objectOf(wrapper);
    const auto* actor = static_cast<const NxActor*>(object->getUserPointer());
    if (!actor || !actor->ownerScene)
        return side;
    // Compound children come with their child index, mesh triangles with theirs.
    const bool moving = actor->isDynamic();
    const int shapeIndex = actor->shapeIndexOf(object, moving ? index : -1);
    const int triangle = moving ? -1 : index;
    side.surface = actor->ownerScene->getMaterialFromIndex(actor->getMaterialAt(shapeIndex, triangle));
    if (!moving && shapeIndex >= 0 && static_cast<std::size_t>(shapeIndex) < actor->getShapeCount())
    {
        const NxShapeDesc& desc = actor->getShape(static_cast<std::size_t>(shapeIndex));
        if (desc.type == NxShapeType::TriangleMesh)
        {
            const auto& meshDesc = static_cast<const NxTriangleMeshShapeDesc&>(desc);
            side.smoothMesh = (meshDesc.meshFlags & NX_MESH_SMOOTH_SPHERE_COLLISIONS) != 0;
            // Built at the mesh's first contact, not with its actor: the actors made so that
            // a lightmap's rays meet every shape of a track would hold it for every mesh.
            if (side.smoothMesh)
                meshDesc.meshData->buildInternalEdgeInfo();
        }
    }
    return side;
}

// Per-contact friction and bounce from both materials (their average), and smoothing of
// mesh edges; Bullet only calls this for objects flagged for it, which ours all are.
bool onContactAdded(btManifoldPoint& point, const btCollisionObjectWrapper* wrap0, int part0, int index0,
                    const btCollisionObjectWrapper* wrap1, int part1, int index1)
{
    const ContactSide side0 = describeSide(wrap0, index0);
    const ContactSide side1 = describeSide(wrap1, index1);
    if (side1.smoothMesh)
        btAdjustInternalEdgeContacts(point, wrap1, wrap0, part1, index1);
    else if (side0.smoothMesh)
        btAdjustInternalEdgeContacts(point, wrap0, wrap1, part0, index0);
    if (side0.surface && side1.surface)
    {
        point.m_combinedFriction = 0.5f * (side0.surface->getContactFriction() + side1.surface->getContactFriction());
        point.m_combinedRestitution = 0.5f * (side0.surface->getBounce() + side1.surface->getBounce());
    }
    return true;
}

// Closest hit with the triangle or compound child recorded, and filters for static or moving shapes.
struct ClosestHit : btCollisionWorld::ClosestRayResultCallback
{
    ClosestHit(const btVector3& from, const btVector3& to, NxShapesType shapeTypes, const btCollisionObject* skip)
        : ClosestRayResultCallback(from, to), types(shapeTypes), exclude(skip)
    {
    }
    bool needsCollision(btBroadphaseProxy* proxy) const override
    {
        const auto* object = static_cast<const btCollisionObject*>(proxy->m_clientObject);
        if (object == exclude)
            return false;
        const bool isStatic = object->isStaticOrKinematicObject();
        if (isStatic && !(types & NX_STATIC_SHAPES))
            return false;
        if (!isStatic && !(types & NX_DYNAMIC_SHAPES))
            return false;
        return ClosestRayResultCallback::needsCollision(proxy);
    }
    btScalar addSingleResult(btCollisionWorld::LocalRayResult& result, bool normalInWorldSpace) override
    {
        part = result.m_localShapeInfo ? result.m_localShapeInfo->m_triangleIndex : -1;
        return ClosestRayResultCallback::addSingleResult(result, normalInWorldSpace);
    }
    NxShapesType types;
    const btCollisionObject* exclude;
    int part = -1;
};

// Two fixed shapes never touch. Without this every fixed shape whose box overlaps another
// (tiles at their edges, terrain patches, the endless boundary planes) makes a pair that
// the dispatcher walks at every step; on a loaded track those were nine pairs in ten.
struct SkipFixedPairs : btOverlapFilterCallback
{
    bool needBroadphaseCollision(btBroadphaseProxy* a, btBroadphaseProxy* b) const override
    {
        const auto* first = static_cast<const btCollisionObject*>(a->m_clientObject);
        const auto* second = static_cast<const btCollisionObject*>(b->m_clientObject);
        if (first && second && first->isStaticObject() && second->isStaticObject())
            return false;
        return (a->m_collisionFilterGroup & b->m_collisionFilterMask) != 0 &&
               (b->m_collisionFilterGroup & a->m_collisionFilterMask) != 0;
    }
};

// Stops at the first hit.
struct AnyHit : ClosestHit
{
    using ClosestHit::ClosestHit;
    btScalar addSingleResult(btCollisionWorld::LocalRayResult& result, bool normalInWorldSpace) override
    {
        ClosestHit::addSingleResult(result, normalInWorldSpace);
        m_closestHitFraction = 0.0f;
        return 0.0f;
    }
};
}

scene::scene(const std::string& name, PhysicsLog* physicsLog) : sceneName(name), log(physicsLog)
{
    gContactAddedCallback = &onContactAdded;
    configuration = std::make_unique<btDefaultCollisionConfiguration>();
    dispatcher = std::make_unique<btCollisionDispatcher>(configuration.get());
    hullMeshCollision = std::make_unique<HullMeshCollision::CreateFunc>(false);
    meshHullCollision = std::make_unique<HullMeshCollision::CreateFunc>(true);
    dispatcher->registerCollisionCreateFunc(CONVEX_HULL_SHAPE_PROXYTYPE, TRIANGLE_MESH_SHAPE_PROXYTYPE,
                                            hullMeshCollision.get());
    dispatcher->registerCollisionCreateFunc(TRIANGLE_MESH_SHAPE_PROXYTYPE, CONVEX_HULL_SHAPE_PROXYTYPE,
                                            meshHullCollision.get());
    broadphase = std::make_unique<btDbvtBroadphase>();
    solver = std::make_unique<btSequentialImpulseConstraintSolver>();
    dynamicsWorld = std::make_unique<btDiscreteDynamicsWorld>(dispatcher.get(), broadphase.get(), solver.get(),
                                                              configuration.get());
    static SkipFixedPairs skipFixedPairs;  // holds no state: one serves every scene
    broadphase->getOverlappingPairCache()->setOverlapFilterCallback(&skipFixedPairs);
    // Only moving bodies have their bounds refreshed each step; a fixed actor refreshes its
    // own when its pose is set. On a loaded track the fixed shapes outnumber the cars tenfold.
    dynamicsWorld->setForceUpdateAllAabbs(false);
    dynamicsWorld->setGravity(gravity);
    dynamicsWorld->setInternalTickCallback(&scene::preTick, this, true);
    materials.push_back(std::make_unique<material>("Default", 0));
    materialIndices["Default"] = 0;
    groups["Default"] = 0;
}

scene::~scene()
{
    bodies.clear();
    actors.clear();
}

void scene::logLine(const std::string& line) const
{
    if (log)
        log->write(line);
}

void scene::hasFloor(bool floor)
{
    if (floor && !floorActor)
    {
        floorShape = std::make_unique<NxPlaneShapeDesc>();
        NxActorDesc desc;
        desc.name = "floor";
        desc.shapes.push_back(floorShape.get());
        floorActor = createActor(desc);
    }
    else if (!floor && floorActor)
    {
        releaseActor(floorActor);
        floorActor = nullptr;
    }
}

void scene::hasGravity(bool on)
{
    gravityOn = on;
    dynamicsWorld->setGravity(on ? gravity : btVector3(0, 0, 0));
}

void scene::setGravity(const btVector3& acceleration)
{
    gravity = acceleration;
    hasGravity(gravityOn);
}

void scene::setTiming(int /*method*/, float maxStep, unsigned iterations)
{
    if (maxStep > 0.0f)
        maxTimestep = maxStep;
    maxIterations = iterations > 0 ? iterations : 1;
}

material* scene::createMaterial(const std::string& name, float bounce, float staticFriction, float dynamicFriction)
{
    if (material* existing = findMaterial(name))
        return existing;
    if (materials.size() > 0xffff)
    {
        logLine("Material '" + name + "' refused: all 65536 material indices are taken");
        return nullptr;
    }
    const auto index = static_cast<NxMaterialIndex>(materials.size());
    materials.push_back(std::make_unique<material>(name, index));
    materialIndices[name] = index;
    material& created = *materials.back();
    created.setBounce(bounce);
    created.setStaticFriction(staticFriction);
    created.setDynamicFriction(dynamicFriction);
    return &created;
}

material* scene::createMaterialAlias(const std::string& alias, material* existing)
{
    if (!existing || existing->getMaterialIndex() >= materials.size() ||
        materials[existing->getMaterialIndex()].get() != existing)
    {
        logLine("Material alias '" + alias + "' refused: its material is not one of this scene's");
        return nullptr;
    }
    if (material* named = findMaterial(alias))
    {
        if (named != existing)
            logLine("Material alias '" + alias + "' refused: the name is taken by material '" + named->getName() +
                    "'");
        return named;
    }
    materialIndices[alias] = existing->getMaterialIndex();
    return existing;
}

material* scene::findMaterial(const std::string& name) const
{
    const auto found = materialIndices.find(name);
    return found == materialIndices.end() ? nullptr : materials[found->second].get();
}

NxMaterialIndex scene::findMaterialIndex(const std::string& name) const
{
    const auto found = materialIndices.find(name);
    return found == materialIndices.end() ? 0 : found->second;
}

const material* scene::getMaterialFromIndex(NxMaterialIndex index) const
{
    return index < materials.size() ? materials[index].get() : materials[0].get();
}

NxActorGroup scene::findGroupIndex(const std::string& name)
{
    const auto found = groups.find(name);
    if (found != groups.end())
        return found->second;
    const auto index = static_cast<NxActorGroup>(groups.size());
    groups[name] = index;
    return index;
}

NxActor* scene::createActor(const NxActorDesc& desc)
{
    std::string error;
    std::unique_ptr<NxActor> actor = NxActor::create(desc, *dynamicsWorld, idleMeshShapes, &error);
    if (!actor)
    {
        logLine("Actor not created: " + error);
        return nullptr;
    }
    actor->ownerScene = this;
    actors.push_back(std::move(actor));
    return actors.back().get();
}

void scene::releaseActor(NxActor* actor)
{
    for (auto it = actors.begin(); it != actors.end(); ++it)
        if (it->get() == actor)
        {
            actors.erase(it);
            return;
        }
}

body* scene::createBody(const std::string& name, const shapeGroup& shapes, float mass, const pose& at)
{
    std::vector<const NxShapeDesc*> descriptions;
    for (const auto& member : shapes.getShapes())
        if (const NxShapeDesc* shapeDesc = member->getDescription())
            descriptions.push_back(shapeDesc);
    return createBodyFrom(name, descriptions, mass, at);
}

body* scene::createBody(const std::string& name, const shape& single, float mass, const pose& at)
{
    std::vector<const NxShapeDesc*> descriptions;
    if (const NxShapeDesc* shapeDesc = single.getDescription())
        descriptions.push_back(shapeDesc);
    return createBodyFrom(name, descriptions, mass, at);
}

body* scene::createBodyFrom(const std::string& name, const std::vector<const NxShapeDesc*>& shapes, float mass,
                            const pose& at)
{
    if (bodies.count(name))
    {
        logLine("Body '" + name + "' not created: the name is taken");
        return nullptr;
    }
    NxActorDesc desc;
    desc.name = name;
    desc.dynamic = true;
    desc.mass = mass;
    desc.globalPose = at.toTransform();
    desc.shapes = shapes;
    NxActor* actor = createActor(desc);
    if (!actor)
        return nullptr;
    auto created = std::make_unique<body>(name, *actor);
    body* result = created.get();
    bodies[name] = std::move(created);
    return result;
}

body* scene::findBody(const std::string& name) const
{
    const auto found = bodies.find(name);
    return found == bodies.end() ? nullptr : found->second.get();
}

void scene::destroyBody(const std::string& name)
{
    const auto found = bodies.find(name);
    if (found == bodies.end())
        return;
    NxActor* actor = found->second->getNxActor();
    bodies.erase(found);
    releaseActor(actor);
}

std::vector<body*> scene::getActiveBodies() const
{
    std::vector<body*> result;
    for (const auto& entry : bodies)
        result.push_back(entry.second.get());
    return result;
}

bool scene::raycastAnyShape(const NxRay& ray, NxShapesType types, unsigned groups, float maxDistance) const
{
    const btVector3 to = ray.orig + ray.dir.normalized() * std::min(maxDistance, kUnlimitedRay);
    AnyHit callback(ray.orig, to, types, nullptr);
    callback.m_collisionFilterMask = static_cast<int>(groups);
    dynamicsWorld->rayTest(ray.orig, to, callback);
    return callback.hasHit();
}

bool scene::raycastClosestShape(const NxRay& ray, NxShapesType types, NxRaycastHit& hit, unsigned groups,
                                float maxDistance) const
{
    const float length = std::min(maxDistance, kUnlimitedRay);
    const btVector3 to = ray.orig + ray.dir.normalized() * length;
    ClosestHit callback(ray.orig, to, types, nullptr);
    callback.m_collisionFilterMask = static_cast<int>(groups);
    dynamicsWorld->rayTest(ray.orig, to, callback);
    hit = NxRaycastHit();
    if (!callback.hasHit())
        return false;
    const btCollisionObject* object = callback.m_collisionObject;
    hit.actor = static_cast<NxActor*>(object->getUserPointer());
    hit.worldImpact = callback.m_hitPointWorld;
    hit.worldNormal = callback.m_hitNormalWorld.normalized();
    hit.distance = callback.m_closestHitFraction * length;
    if (hit.actor)
    {
        const bool moving = hit.actor->isDynamic();
        hit.shapeIndex = hit.actor->shapeIndexOf(object, moving ? callback.part : -1);
        hit.faceID = moving ? -1 : callback.part;
        hit.materialIndex = hit.actor->getMaterialAt(hit.shapeIndex, hit.faceID);
        if (hit.shapeIndex >= 0 && static_cast<std::size_t>(hit.shapeIndex) < hit.actor->getShapeCount())
            hit.shape = &hit.actor->getShape(static_cast<std::size_t>(hit.shapeIndex));
    }
    return true;
}

namespace
{
struct GatherProxies : btBroadphaseAabbCallback
{
    explicit GatherProxies(std::vector<const btBroadphaseProxy*>& into) : proxies(into) {}
    bool process(const btBroadphaseProxy* proxy) override
    {
        proxies.push_back(proxy);
        return true;
    }
    std::vector<const btBroadphaseProxy*>& proxies;
};

bool inBox(const btVector3& point, const btVector3& boxMin, const btVector3& boxMax)
{
    return point.x() >= boxMin.x() && point.y() >= boxMin.y() && point.z() >= boxMin.z() &&
           point.x() <= boxMax.x() && point.y() <= boxMax.y() && point.z() <= boxMax.z();
}

// The test of a ray against an object's box in the broadphase tree, made as the world's
// ray test makes it. It is more than a shortcut: Bullet's cast of a ray against a convex
// shape can report a hit for a ray that stops a few centimetres short of a large box far
// out, and only this test keeps a wheel hanging just above a road pad out of contact.
class RayBoxTest
{
public:
    RayBoxTest(const btVector3& from, const btVector3& to) : origin(from)
    {
        const btVector3 direction = (to - from).normalized();
        for (int i = 0; i < 3; ++i)
        {
            inverse[i] = direction[i] == btScalar(0) ? btScalar(BT_LARGE_FLOAT) : btScalar(1) / direction[i];
            signs[i] = inverse[i] < btScalar(0);
        }
        length = direction.dot(to - from);
    }

    bool meets(const btBroadphaseProxy* proxy) const
    {
        // The tree's box, not the proxy's: a moving body's box in the tree has room to move.
        const btDbvtVolume& volume = static_cast<const btDbvtProxy*>(proxy)->leaf->volume;
        const btVector3 bounds[2] = {volume.Mins(), volume.Maxs()};
        btScalar entry = 1;
        return btRayAabb2(origin, inverse, signs, bounds, entry, 0, length);
    }

private:
    btVector3 origin;
    btVector3 inverse;
    unsigned signs[3] = {0, 0, 0};
    btScalar length = 0;
};
}

void scene::beginWheelRays(const btVector3& boxMin, const btVector3& boxMax)
{
    // One search of the broadphase for the car's four rays: each ray then meets only the
    // two or three objects under the car instead of walking the world's tree again.
    wheelRayGround.clear();
    GatherProxies gather(wheelRayGround);
    broadphase->aabbTest(boxMin, boxMax, gather);
    wheelRayBoxMin = boxMin;
    wheelRayBoxMax = boxMax;
    wheelRayGroundGathered = true;
}

void scene::endWheelRays()
{
    // Objects may be released before the next step: never test a stale list.
    wheelRayGround.clear();
    wheelRayGroundGathered = false;
}

WheelRayHit scene::castWheelRay(const btVector3& from, const btVector3& to, const btCollisionObject* exclude)
{
    ClosestHit callback(from, to, NX_ALL_SHAPES, exclude);
    if (wheelRayGroundGathered && inBox(from, wheelRayBoxMin, wheelRayBoxMax) &&
        inBox(to, wheelRayBoxMin, wheelRayBoxMax))
    {
        btTransform fromPose, toPose;
        fromPose.setIdentity();
        fromPose.setOrigin(from);
        toPose.setIdentity();
        toPose.setOrigin(to);
        const RayBoxTest ray(from, to);
        for (const btBroadphaseProxy* proxy : wheelRayGround)
        {
            if (callback.m_closestHitFraction == btScalar(0))
                break;
            auto* object = static_cast<btCollisionObject*>(proxy->m_clientObject);
            if (ray.meets(proxy) && callback.needsCollision(object->getBroadphaseHandle()))
                btCollisionWorld::rayTestSingle(fromPose, toPose, object, object->getCollisionShape(),
                                                object->getWorldTransform(), callback);
        }
    }
    else
        dynamicsWorld->rayTest(from, to, callback);
    WheelRayHit hit;
    if (!callback.hasHit())
        return hit;
    hit.hit = true;
    hit.fraction = callback.m_closestHitFraction;
    hit.point = callback.m_hitPointWorld;
    hit.normal = callback.m_hitNormalWorld.normalized();
    const btCollisionObject* object = callback.m_collisionObject;
    hit.actor = static_cast<NxActor*>(object->getUserPointer());
    if (hit.actor)
    {
        const bool moving = hit.actor->isDynamic();
        const int shapeIndex = hit.actor->shapeIndexOf(object, moving ? callback.part : -1);
        hit.materialIndex = hit.actor->getMaterialAt(shapeIndex, moving ? -1 : callback.part);
    }
    btRigidBody* groundBody = const_cast<btRigidBody*>(btRigidBody::upcast(object));
    if (groundBody && !groundBody->isStaticOrKinematicObject())
        hit.movingGround = groundBody;
    return hit;
}

void scene::addContactReporter(customContactReporter* reporter)
{
    reporters.push_back(reporter);
}

void scene::removeContactReporter(customContactReporter* reporter)
{
    for (auto it = reporters.begin(); it != reporters.end(); ++it)
        if (*it == reporter)
        {
            reporters.erase(it);
            return;
        }
}

void scene::setGroupContactReport(NxActorGroup group, bool report)
{
    if (reportingGroups.size() <= group)
        reportingGroups.resize(group + 1u, false);
    reportingGroups[group] = report;
}

void scene::preTick(btDynamicsWorld* world, float dt)
{
    auto* self = static_cast<scene*>(world->getWorldUserInfo());
    const btVector3 g = self->gravityOn ? self->gravity : btVector3(0, 0, 0);
    for (const auto& actor : self->actors)
        actor->updateWheels(*self, dt, g);
}

void scene::simulate(float dt)
{
    if (dt <= 0.0f)
        return;
    for (const auto& entry : bodies)
        entry.second->rememberPose();
    unsigned pieces = static_cast<unsigned>(std::ceil(dt / maxTimestep - 1e-4f));
    pieces = std::max(1u, std::min(pieces, maxIterations));
    const float piece = dt / static_cast<float>(pieces);
    for (unsigned i = 0; i < pieces; ++i)
    {
        // maxSubSteps 0: Bullet takes the piece exactly as given, no interpolation of its own.
        dynamicsWorld->stepSimulation(piece, 0);
        reportContacts(piece);
    }
}

void scene::render(float alpha)
{
    for (const auto& entry : bodies)
        if (entry.second->onRender)
            entry.second->onRender(entry.second->getInterpolatedPose(alpha));
}

void scene::reportContacts(float dt)
{
    if (reporters.empty())
        return;
    auto reports = [this](const NxActor* actor) {
        return actor->getGroup() < reportingGroups.size() && reportingGroups[actor->getGroup()];
    };
    std::vector<NxContactPair> pairs;
    const int manifoldCount = dispatcher->getNumManifolds();
    for (int i = 0; i < manifoldCount; ++i)
    {
        const btPersistentManifold* manifold = dispatcher->getManifoldByIndexInternal(i);
        if (manifold->getNumContacts() == 0)
            continue;
        auto* first = static_cast<NxActor*>(manifold->getBody0()->getUserPointer());
        auto* second = static_cast<NxActor*>(manifold->getBody1()->getUserPointer());
        if (!first || !second || (!reports(first) && !reports(second)))
            continue;
        // Several manifolds (one per shape pair) may belong to one actor pair.
        NxContactPair* pair = nullptr;
        float orientation = 1.0f;
        for (NxContactPair& known : pairs)
            if (known.actors[0] == first && known.actors[1] == second)
                pair = &known;
            else if (known.actors[0] == second && known.actors[1] == first)
            {
                pair = &known;
                orientation = -1.0f;
            }
        if (!pair)
        {
            pairs.emplace_back();
            pair = &pairs.back();
            pair->actors[0] = first;
            pair->actors[1] = second;
        }
        for (int p = 0; p < manifold->getNumContacts(); ++p)
        {
            const btManifoldPoint& point = manifold->getContactPoint(p);
            // Bullet's normal points from the second body to the first: the push on the first.
            pair->sumNormalForce += point.m_normalWorldOnB * (orientation * point.getAppliedImpulse() / dt);
            pair->sumFrictionForce += (point.m_lateralFrictionDir1 * point.m_appliedImpulseLateral1 +
                                       point.m_lateralFrictionDir2 * point.m_appliedImpulseLateral2) *
                                      (orientation / dt);
            NxContactPoint contact;
            contact.point = point.getPositionWorldOnB();
            contact.normal = point.m_normalWorldOnB * orientation;
            contact.separation = point.getDistance();
            const int side = orientation > 0 ? 0 : 1;
            contact.shapeIndex[side] = first->shapeIndexOf(manifold->getBody0(), point.m_index0);
            contact.shapeIndex[1 - side] = second->shapeIndexOf(manifold->getBody1(), point.m_index1);
            pair->points.push_back(contact);
        }
    }
    for (const NxContactPair& pair : pairs)
        for (customContactReporter* reporter : reporters)
        {
            reporter->currentPair = &pair;
            reporter->onContact(static_cast<body*>(pair.actors[0]->userData),
                                static_cast<body*>(pair.actors[1]->userData));
            reporter->currentPair = nullptr;
        }
}

}
