// Convex hull shapes.
#include "platform/physics/convexShape.h"

namespace nxOgre
{

convexShape::convexShape(const std::vector<NxVec3>& points, NxMaterialIndex materialIndex, const pose& at)
    : shape(kShapeTypeConvex)
{
    offset = at;
    description.points.assign(points.begin(), points.end());
    description.materialIndex = materialIndex;
    description.localPose = at.toTransform();
    // Fewer than four points enclose no volume: such a hull can't carry a mass.
    if (points.size() < 4)
        setFailed();
}

}
