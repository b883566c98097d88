// Bullet shapes and mass properties of the shape descriptions.
#include "platform/physics/NxShapeDesc.h"

#include <LinearMath/btConvexHullComputer.h>
#include <btBulletCollisionCommon.h>

#include <cmath>

namespace nxOgre
{
namespace
{
constexpr float kPi = 3.14159265358979f;

btMatrix3x3 diagonal(float x, float y, float z)
{
    return btMatrix3x3(x, 0, 0, 0, y, 0, 0, 0, z);
}

btMatrix3x3 outer(const btVector3& a, const btVector3& b)
{
    return btMatrix3x3(a.x() * b.x(), a.x() * b.y(), a.x() * b.z(), a.y() * b.x(), a.y() * b.y(), a.y() * b.z(),
                       a.z() * b.x(), a.z() * b.y(), a.z() * b.z());
}

btMatrix3x3 scaled(const btMatrix3x3& m, float s)
{
    return btMatrix3x3(m[0] * s, m[1] * s, m[2] * s);
}

// A plane whose bounding box is a slab of the world rather than all of space: rays and
// bodies away from it never reach it in the broadphase. Contacts still come from the
// plane's equation. Only axis-aligned planes are bounded; others keep the endless box.
class FinitePlaneShape : public btStaticPlaneShape
{
public:
    static constexpr btScalar kHalfExtent = 20000.0f;  // units along the plane
    static constexpr btScalar kThickness = 100.0f;     // units behind the plane

    FinitePlaneShape(const btVector3& normal, btScalar d) : btStaticPlaneShape(normal, d)
    {
        const int axis = normal.absolute().maxAxis();
        if (std::fabs(normal[axis]) < 1.0f - 1e-6f)
            return;
        const btVector3 extent(kHalfExtent, kHalfExtent, kHalfExtent);
        localMin = -extent;
        localMax = extent;
        const btScalar surface = normal[axis] * d;  // the plane's coordinate on its axis
        localMin[axis] = normal[axis] > 0 ? surface - kThickness : surface;
        localMax[axis] = normal[axis] > 0 ? surface : surface + kThickness;
        bounded = true;
    }

    void getAabb(const btTransform& t, btVector3& aabbMin, btVector3& aabbMax) const override
    {
        if (!bounded)
        {
            btStaticPlaneShape::getAabb(t, aabbMin, aabbMax);
            return;
        }
        btTransformAabb(localMin, localMax, 0.0f, t, aabbMin, aabbMax);
    }

private:
    btVector3 localMin{0, 0, 0};
    btVector3 localMax{0, 0, 0};
    bool bounded = false;
};

// Volume, centre and second moment (covariance) of a closed triangulated surface, each
// triangle making a tetrahedron with the reference point.
struct SolidIntegral
{
    double volume = 0;
    btVector3 firstMoment{0, 0, 0};
    btMatrix3x3 covariance = diagonal(0, 0, 0);

    void addTetrahedron(const btVector3& a, const btVector3& b, const btVector3& c)
    {
        const float det = a.dot(b.cross(c));
        volume += det / 6.0;
        firstMoment += (a + b + c) * (det / 24.0f);
        // Covariance of the tetrahedron (0, a, b, c) for unit density.
        const btVector3 s = a + b + c;
        const btMatrix3x3 m = outer(a, a) + outer(b, b) + outer(c, c) + outer(s, s);
        covariance = covariance + scaled(m, det / 120.0f);
    }
};
}

bool NxShapeDesc::massProperties(float&, btVector3&, btMatrix3x3&) const
{
    return false;
}

std::unique_ptr<btCollisionShape> NxPlaneShapeDesc::createCollisionShape() const
{
    return std::make_unique<FinitePlaneShape>(normal.normalized(), d);
}

std::unique_ptr<btCollisionShape> NxSphereShapeDesc::createCollisionShape() const
{
    return std::make_unique<btSphereShape>(radius);
}

bool NxSphereShapeDesc::massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const
{
    volume = 4.0f / 3.0f * kPi * radius * radius * radius;
    centre.setZero();
    const float i = 0.4f * radius * radius;
    unitInertia = diagonal(i, i, i);
    return true;
}

std::unique_ptr<btCollisionShape> NxBoxShapeDesc::createCollisionShape() const
{
    return std::make_unique<btBoxShape>(dimensions);
}

bool NxBoxShapeDesc::massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const
{
    const btVector3 size = dimensions * 2.0f;
    volume = size.x() * size.y() * size.z();
    centre.setZero();
    const float x2 = size.x() * size.x(), y2 = size.y() * size.y(), z2 = size.z() * size.z();
    unitInertia = diagonal((y2 + z2) / 12.0f, (x2 + z2) / 12.0f, (x2 + y2) / 12.0f);
    return true;
}

std::unique_ptr<btCollisionShape> NxCapsuleShapeDesc::createCollisionShape() const
{
    return std::make_unique<btCapsuleShape>(radius, height);
}

bool NxCapsuleShapeDesc::massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const
{
    // A cylinder and a sphere of the same radius, the sphere split to the two ends.
    const float r2 = radius * radius;
    const float cylinder = kPi * r2 * height;
    const float sphere = 4.0f / 3.0f * kPi * r2 * radius;
    volume = cylinder + sphere;
    centre.setZero();
    if (volume <= 0.0f)
        return false;
    const float mc = cylinder / volume, ms = sphere / volume;
    const float axial = mc * r2 / 2.0f + ms * 0.4f * r2;
    const float halfH = height / 2.0f;
    const float across = mc * (r2 / 4.0f + height * height / 12.0f) +
                         ms * (0.4f * r2 + halfH * halfH + 0.375f * height * radius);
    unitInertia = diagonal(across, axial, across);
    return true;
}

std::unique_ptr<btCollisionShape> NxConvexShapeDesc::createCollisionShape() const
{
    auto hull = std::make_unique<btConvexHullShape>();
    for (const btVector3& point : points)
        hull->addPoint(point, false);
    hull->recalcLocalAabb();
    // Bullet pads convex shapes by a margin; without it the hull rests a few mm too high.
    hull->setMargin(0.0f);
    hull->initializePolyhedralFeatures();
    return hull;
}

bool NxConvexShapeDesc::massProperties(float& volume, btVector3& centre, btMatrix3x3& unitInertia) const
{
    if (points.size() < 4)
        return false;
    btConvexHullComputer hull;
    hull.compute(&points[0].x(), static_cast<int>(sizeof(btVector3)), static_cast<int>(points.size()), 0, 0);
    btVector3 reference(0, 0, 0);
    for (int i = 0; i < hull.vertices.size(); ++i)
        reference += hull.vertices[i];
    if (hull.vertices.size() == 0)
        return false;
    reference /= static_cast<float>(hull.vertices.size());

    SolidIntegral integral;
    for (int f = 0; f < hull.faces.size(); ++f)
    {
        // Fan-triangulate the face; its edges run counter-clockwise seen from outside.
        const btConvexHullComputer::Edge* first = &hull.edges[hull.faces[f]];
        const btVector3 a = hull.vertices[first->getSourceVertex()] - reference;
        const btConvexHullComputer::Edge* edge = first->getNextEdgeOfFace();
        while (edge->getTargetVertex() != first->getSourceVertex())
        {
            const btVector3 b = hull.vertices[edge->getSourceVertex()] - reference;
            const btVector3 c = hull.vertices[edge->getTargetVertex()] - reference;
            integral.addTetrahedron(a, b, c);
            edge = edge->getNextEdgeOfFace();
        }
    }
    if (integral.volume < 0)  // faces wound the other way round
    {
        integral.volume = -integral.volume;
        integral.firstMoment = -integral.firstMoment;
        integral.covariance = scaled(integral.covariance, -1.0f);
    }
    if (integral.volume <= 1e-9)
        return false;
    volume = static_cast<float>(integral.volume);
    const btVector3 offset = integral.firstMoment / volume;
    centre = reference + offset;
    // Move the covariance to the centre, then turn it into the inertia tensor per unit mass.
    const btMatrix3x3 c = scaled(integral.covariance - scaled(outer(offset, offset), volume), 1.0f / volume);
    const float trace = c[0][0] + c[1][1] + c[2][2];
    unitInertia = diagonal(trace, trace, trace) - c;
    return true;
}

}
