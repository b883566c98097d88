// Shape descriptions: what an actor is made of. Plain records; an actor copies what it
// needs when it is created, so a description may go away afterwards (a triangle mesh is
// shared, not copied).
#pragma once

#include "platform/physics/NxTriangleMesh.h"
#include "platform/physics/material.h"

#include <BulletCollision/CollisionShapes/btCollisionShape.h>
#include <LinearMath/btTransform.h>

#include <memory>
#include <vector>

class btCollisionShape;

namespace nxOgre
{

enum class NxShapeType
{
    Plane,
    Sphere,
    Box,
    Capsule,
    Convex,
    TriangleMesh,
};

// Triangle-mesh flag: contacts slide across the mesh's inner edges.
constexpr unsigned NX_MESH_SMOOTH_SPHERE_COLLISIONS = 1;

struct NxShapeDesc
{
    explicit NxShapeDesc(NxShapeType shapeType) : type(shapeType) {}
    virtual ~NxShapeDesc() = default;

    NxShapeType type;
    btTransform localPose = btTransform::getIdentity();  // pose in the actor's frame
    NxMaterialIndex materialIndex = 0;

    virtual std::unique_ptr<NxShapeDesc> clone() const = 0;
    // The Bullet shape for this description, or null for shapes the actor shares (meshes).
    virtual std::unique_ptr<btCollisionShape> createCollisionShape() const = 0;
    // Volume and the inertia tensor per unit mass about the shape's own centre, in the
    // shape's frame, and that centre in the shape's frame; false for shapes without volume.
    virtual bool massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const;
};

struct NxPlaneShapeDesc : NxShapeDesc
{
    NxPlaneShapeDesc() : NxShapeDesc(NxShapeType::Plane) {}
    btVector3 normal{0, 1, 0};
    float d = 0.0f;  // the plane holds the points p with normal · p = d
    std::unique_ptr<NxShapeDesc> clone() const override { return std::make_unique<NxPlaneShapeDesc>(*this); }
    std::unique_ptr<btCollisionShape> createCollisionShape() const override;
};

struct NxSphereShapeDesc : NxShapeDesc
{
    NxSphereShapeDesc() : NxShapeDesc(NxShapeType::Sphere) {}
    float radius = 1.0f;
    std::unique_ptr<NxShapeDesc> clone() const override { return std::make_unique<NxSphereShapeDesc>(*this); }
    std::unique_ptr<btCollisionShape> createCollisionShape() const override;
    bool massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const override;
};

struct NxBoxShapeDesc : NxShapeDesc
{
    NxBoxShapeDesc() : NxShapeDesc(NxShapeType::Box) {}
    btVector3 dimensions{1, 1, 1};  // half extents
    std::unique_ptr<NxShapeDesc> clone() const override { return std::make_unique<NxBoxShapeDesc>(*this); }
    std::unique_ptr<btCollisionShape> createCollisionShape() const override;
    bool massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const override;
};

// Upright along its local y axis: a cylinder of the given height with a half sphere on
// either end, centred on its pose.
struct NxCapsuleShapeDesc : NxShapeDesc
{
    NxCapsuleShapeDesc() : NxShapeDesc(NxShapeType::Capsule) {}
    float radius = 0.5f;
    float height = 1.0f;  // between the centres of the two end spheres
    std::unique_ptr<NxShapeDesc> clone() const override { return std::make_unique<NxCapsuleShapeDesc>(*this); }
    std::unique_ptr<btCollisionShape> createCollisionShape() const override;
    bool massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const override;
};

struct NxConvexShapeDesc : NxShapeDesc
{
    NxConvexShapeDesc() : NxShapeDesc(NxShapeType::Convex) {}
    std::vector<btVector3> points;  // the hull is the convex hull of these
    std::unique_ptr<NxShapeDesc> clone() const override { return std::make_unique<NxConvexShapeDesc>(*this); }
    std::unique_ptr<btCollisionShape> createCollisionShape() const override;
    bool massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const override;
};

struct NxTriangleMeshShapeDesc : NxShapeDesc
{
    NxTriangleMeshShapeDesc() : NxShapeDesc(NxShapeType::TriangleMesh) {}
    NxTriangleMeshPtr meshData;  // shared by every actor made from this description
    unsigned meshFlags = 0;
    std::unique_ptr<NxShapeDesc> clone() const override { return std::make_unique<NxTriangleMeshShapeDesc>(*this); }
    std::unique_ptr<btCollisionShape> createCollisionShape() const override { return nullptr; }
};

}
